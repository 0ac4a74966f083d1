#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "decompile/compiled_scenario.hpp"

namespace scenario {

// A service row that must come before a station's row: its feature lies under that
// station's exit, which takes its cell whatever it holds (0: before none).
struct PlacedRow {
  std::string text;
  int before_slot = 0;
};

// The slowdown rows of the cells, and the station exit cells whose remains are a slowdown's
// (a warning board or approach boards the exit then took), which no other row may claim.
struct RecoveredSlowdowns {
  std::vector<PlacedRow> rows;
  std::set<int64_t> exit_cells;
};

// Slowdowns as their rows placed them: each start with the end paired with it, the warning
// board 24 cells before the start and the four approach boards before that. What cannot be
// written back is named in `remarks`.
RecoveredSlowdowns recover_slowdowns(const CompiledScenario& scenario, Remarks& remarks);

}  // namespace scenario
