#pragma once

#include <cstdint>
#include <optional>

#include "compiler/compile_context.hpp"
#include "compiler/row_outcome.hpp"
#include "compiler/track_bounds.hpp"

namespace scenario {

// After a signal or slowdown row the reader looks at the fault record as a whole: any
// fault standing at that point, also one left by the line source, ends the service source
// here with the row's position. `row_fault`: the fault the row found, which stops the reading
// at this row; without one a fault still standing is what ends the reading.
RowOutcome stop_if_any_fault(CompileContext& context, int32_t position_m, std::optional<RowFault> row_fault);

}  // namespace scenario
