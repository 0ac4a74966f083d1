#pragma once

#include <cstdint>

#include "compiler/compile_context.hpp"
#include "compiler/row_outcome.hpp"
#include "compiler/track_bounds.hpp"

namespace scenario {

// After a signal or slowdown row the reader looks at the fault record as a whole: any
// fault standing at that point, also one left by the line source, ends the service source
// here with the row's position. `row_faulted`: the row recorded a fault of its own, which the
// sink has heard at this row; otherwise a fault still standing is what ends the reading.
RowOutcome fault_exit_if_any_fault(CompileContext& context, int32_t position_m, bool row_faulted);

}  // namespace scenario
