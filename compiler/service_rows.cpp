#include "compiler/service_rows.hpp"

#include "model/fault_record.hpp"
#include "model/fault_table.hpp"

namespace scenario {

RowOutcome fault_exit_if_any_fault(ScenarioModel& model, int32_t position_m) {
  if (model.error_code <= 0) return RowOutcome::kNext;
  // Not a new fault: the standing one (already heard by the sink) now names this row.
  model.error_position_m = position_m;
  return RowOutcome::kFaultExit;
}

}  // namespace scenario
