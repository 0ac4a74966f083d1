#pragma once

#include <cstdint>

#include "model/scenario_model.hpp"

namespace scenario {

// How a row of the service source leaves the reading.
enum class RowEnd {
  kNext,        // go on with the next keyword field
  kEndReading,  // end reading normally: discard the source, complete the fills, check the posts
  kFaultExit,   // discard the source and return at once, skipping the end-of-reading steps
};

// The bounds test of the service rows: a feature at `position_m` needs `margin_m` metres of
// track cells beyond it (P + margin > 50 × last_cell fails). Records fault 15 at the
// position when it fails. Computed in 64 bits, so no position can overflow it.
bool beyond_the_cells(ScenarioModel& model, int64_t position_m, int64_t margin_m);

// After a signal or slowdown row the reader looks at the fault record as a whole: any
// fault standing at that point, also one left by the line source, ends the service source
// here with the row's position.
RowEnd fault_exit_if_any_fault(ScenarioModel& model, int32_t position_m);

}  // namespace scenario
