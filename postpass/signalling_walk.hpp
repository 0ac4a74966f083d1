#pragma once

#include "model/format_rules.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// Walks cells 1 to last_cell - 2 once and adds the code reduction points around every
// slowdown, recording faults 11, 12 and 13 where a point finds no cell. Does nothing when
// the cells were never dimensioned.
void run_signalling_walk(ScenarioModel& model);

}  // namespace scenario
