#include "compiler/service_rows.hpp"

#include "model/fault_record.hpp"
#include "model/fault_table.hpp"

namespace scenario {

RowOutcome fault_exit_if_any_fault(ScenarioModel& model, int32_t position_m, int32_t fault_before_row) {
  if (model.error_code <= 0) return RowOutcome::kNext;
  if (model.error_code != fault_before_row) {
    // The row's own fault, already heard by the sink at this row.
    model.error_position_m = position_m;
  } else {
    // Not a new fault: the standing one now names this row.
    stop_reading_for_standing_fault(model, position_m);
  }
  return RowOutcome::kFaultExit;
}

}  // namespace scenario
