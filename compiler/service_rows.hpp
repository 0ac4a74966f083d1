#pragma once

#include <cstdint>

#include "compiler/track_bounds.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// How a row of the service source leaves the reading.
enum class RowEnd {
  kNext,        // go on with the next keyword field
  kEndReading,  // end reading normally: discard the source, complete the fills, check the posts
  kFaultExit,   // discard the source and return at once, skipping the end-of-reading steps
};

// After a signal or slowdown row the reader looks at the fault record as a whole: any
// fault standing at that point, also one left by the line source, ends the service source
// here with the row's position.
RowEnd fault_exit_if_any_fault(ScenarioModel& model, int32_t position_m);

}  // namespace scenario
