#include "compiler/service_rows.hpp"

#include "compiler/fault_recording.hpp"

namespace scenario {

RowOutcome fault_exit_if_any_fault(CompileContext& context, int32_t position_m, bool row_faulted) {
  if (row_faulted) {
    context.error_position_m = position_m;
    return RowOutcome::kFaultExit;
  }
  if (context.error_code <= 0) return RowOutcome::kNext;
  // Not a new fault: the standing one now names this row.
  stop_reading_for_standing_fault(context, position_m);
  return RowOutcome::kFaultExit;
}

}  // namespace scenario
