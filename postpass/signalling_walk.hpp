#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/fault_table.hpp"
#include "model/format_rules.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// A rule of the walk that found no cell for its point, with the cells involved; the walk
// knows cells, not the rows that put things in them.
struct WalkFault {
  Fault fault;
  // The cell of the feature whose rule failed: the slowdown start (rule S) or the slowdown
  // warning board (rule W).
  int64_t rule_cell = 0;
  // The cell the fault names by itself: the signal's (11), the start's (12), the due repeat
  // cell or the end cell (13).
  int64_t fault_cell = 0;
  // The signal the point was for, when it was for one.
  std::optional<int64_t> signal_cell;
  // The cells the point could have taken, in the order they were tried; none was free.
  std::vector<int64_t> tried_cells;
};

// Walks cells 1 to last_cell - 2 once and adds the code reduction points around every
// slowdown; returns faults 11, 12 and 13, in the order they were found, where a point finds
// no cell. Does nothing when the cells were never dimensioned.
std::vector<WalkFault> run_signalling_walk(ScenarioModel& model);

}  // namespace scenario
