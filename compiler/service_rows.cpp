#include "compiler/service_rows.hpp"

#include "postpass/fault_record.hpp"
#include "postpass/fault_table.hpp"

namespace scenario {

bool beyond_the_cells(ScenarioModel& model, int64_t position_m, int64_t margin_m) {
  if (position_m + margin_m <= 50 * static_cast<int64_t>(model.last_cell)) return false;
  record_fault(model, kFaultBeyondTrack, position_m);
  return true;
}

RowEnd fault_exit_if_any_fault(ScenarioModel& model, int32_t position_m) {
  if (model.error_code <= 0) return RowEnd::kNext;
  // Not a new fault: the standing one (already heard by the sink) now names this row.
  model.error_position_m = position_m;
  return RowEnd::kFaultExit;
}

}  // namespace scenario
