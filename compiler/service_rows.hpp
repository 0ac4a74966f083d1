#pragma once

#include <cstdint>

#include "compiler/row_outcome.hpp"
#include "compiler/track_bounds.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// After a signal or slowdown row the reader looks at the fault record as a whole: any
// fault standing at that point, also one left by the line source, ends the service source
// here with the row's position.
RowOutcome fault_exit_if_any_fault(ScenarioModel& model, int32_t position_m);

}  // namespace scenario
