#pragma once

#include "model/scenario_model.hpp"

namespace scenario {

// The speed code, in km/h, of every point the walk adds; it lowers a higher one to it.
inline constexpr int16_t kWalkPointSpeed = 180;

// Walks cells 1 to last_cell - 2 once and adds the code reduction points around every
// slowdown, recording faults 11, 12 and 13 where a point finds no cell. Does nothing when
// the cells were never dimensioned.
void run_signalling_walk(ScenarioModel& model);

}  // namespace scenario
