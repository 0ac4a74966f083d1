#include "compiler/service_rows.hpp"

#include "compiler/fault_recording.hpp"

namespace scenario {

RowOutcome stop_if_any_fault(CompileContext& context, int32_t position_m, std::optional<RowFault> row_fault) {
  if (row_fault) {
    row_fault->position_m = position_m;
    return RowOutcome::stop(std::move(*row_fault));
  }
  if (context.error_code <= 0) return RowOutcome::next_row();
  // Not a new fault: the standing one now names this row.
  stop_reading_for_standing_fault(context, position_m);
  return RowOutcome::stop_for_standing_fault();
}

}  // namespace scenario
