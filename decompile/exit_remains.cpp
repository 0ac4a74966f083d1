#include "decompile/exit_remains.hpp"

namespace scenario {

std::set<int64_t> signals_under_exits(const CompiledScenario& scenario, const std::set<int64_t>& slowdown_cells) {
  std::set<int64_t> cells;
  for (int64_t c = 0; c <= scenario.last_cell(); ++c) {
    const TrackCell& cell = scenario.cells[static_cast<size_t>(c)];
    if (cell.kind == kStationExit && cell.signal_time != 0 && !slowdown_cells.contains(c)) cells.insert(c);
  }
  return cells;
}

}  // namespace scenario
