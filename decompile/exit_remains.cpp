#include "decompile/exit_remains.hpp"

#include "model/approach_codes.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

// Whether the exit in cell `c` stands over a signal that had no time: its station's own
// codes cover the signal's nearest approach cells, but the cells further off that still
// show a code all show the one a signal with the cell's aspect writes (value4 keeps it, in
// its last digit). A board beneath an exit writes no codes, so at least one must show.
bool codes_of_a_signal_before(const CompiledScenario& s, int64_t c) {
  const TrackCell& exit = s.cells[static_cast<size_t>(c)];
  const int slot = exit.value1;
  if (slot < 1 || slot >= kRecordCount) return false;
  const SimRecord& station = s.records[static_cast<size_t>(slot)];
  const int64_t aspect_digit = (exit.value4 % 10 + 10) % 10;
  int shown = 0;
  for (int k = 1; k <= kApproachCodeCount; ++k) {
    const int64_t a = signal_approach_cell(c, k);
    if (a < 0 || a > s.last_cell()) continue;
    const bool station_covers = writes_station_approach_codes(station.station_type) && a >= c - kApproachCodeCount &&
                                takes_station_approach_code(a);
    if (station_covers) continue;
    const int64_t code = s.cells[static_cast<size_t>(a)].approach;
    if (code < k || (code - k) % 10 != 0 || (code - k) / 10 % 10 != aspect_digit) return false;
    ++shown;
  }
  return shown > 0;
}

}  // namespace

std::set<int64_t> signals_under_exits(const CompiledScenario& scenario, const std::set<int64_t>& slowdown_cells) {
  std::set<int64_t> cells;
  for (int64_t c = 0; c <= scenario.last_cell(); ++c) {
    const TrackCell& cell = scenario.cells[static_cast<size_t>(c)];
    if (cell.kind != kStationExit || slowdown_cells.contains(c)) continue;
    if (cell.signal_time != 0 || codes_of_a_signal_before(scenario, c)) cells.insert(c);
  }
  return cells;
}

}  // namespace scenario
