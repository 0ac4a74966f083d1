#pragma once

#include <cstdint>

#include "compiler/row_outcome.hpp"
#include "compiler/track_bounds.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// After a signal or slowdown row the reader looks at the fault record as a whole: any
// fault standing at that point, also one left by the line source, ends the service source
// here with the row's position. `fault_before_row` is the fault the model held before the row
// was placed: when it still stands, it is what ends the reading.
RowOutcome fault_exit_if_any_fault(ScenarioModel& model, int32_t position_m, int32_t fault_before_row);

}  // namespace scenario
