#include "decompile/slowdown_recovery.hpp"

#include <algorithm>
#include <compare>
#include <iterator>
#include <map>
#include <set>

#include "schema/row_schema.hpp"
#include "decompile/row_writers.hpp"
#include "decompile/source_text.hpp"
#include "model/format_rules.hpp"
#include "reading/slowdown_pairing.hpp"

namespace scenario {
namespace {

constexpr int64_t kCell_m = CompiledScenario::kCell_m;

const TrackCell& cell_at(const CompiledScenario& s, int64_t c) { return s.cells[static_cast<size_t>(c)]; }
bool has_cell(const CompiledScenario& s, int64_t c) { return c >= 0 && c <= s.last_cell(); }
bool holds(const CompiledScenario& s, int64_t c, CellKind kind) { return has_cell(s, c) && cell_at(s, c).kind == kind; }

// The slot of the station whose exit took cell c, when one did.
int exit_slot(const CompiledScenario& s, int64_t c) { return holds(s, c, kStationExit) ? cell_at(s, c).value1 : 0; }

// The approach boards of a warning board in cell w, `gap` cells before it: each one as its
// slowdown wrote it, or taken since by a station exit, and at least one of them standing.
bool approach_boards_at(const CompiledScenario& s, int64_t w, int64_t gap, const std::set<int64_t>& used) {
  bool standing = false;
  for (int i = 0; i < kApproachBoardCount; ++i) {
    const int64_t b = w - gap - i;
    if (!has_cell(s, b) || used.contains(b)) return false;
    const bool board = holds(s, b, kApproachBoard) && cell_at(s, b).value1 == i + 1;
    if (!board && !holds(s, b, kStationExit)) return false;
    standing = standing || board;
  }
  return standing;
}

// The station exits that may still hold a slowdown's missing cell, found without walking
// the route (a route of lone starts would walk it once for each). A station exit writes
// only the kind and the first value, so the exit that took a slowdown's cell keeps the
// second value and f_tt as its standing cell has them, and nothing a slowdown does not
// write (no signal time, no fourth value): each exit that may is filed under those two
// values, and again under the speed of a warning board 24 cells before it, which tells a
// start whose values are both 0.
class FreeExits {
 public:
  // `taken`: a flag for each cell of the route, set for a cell already paired.
  FreeExits(const CompiledScenario& s, const std::vector<bool>& taken) : s_(s) {
    for (int64_t c = 0; c <= s.last_cell(); ++c)
      if (!taken[static_cast<size_t>(c)]) file(c, true);
  }

  // The nearest exit from `from` in the direction `step` (then the other way) that may hold
  // the missing cell of the slowdown whose standing cell is `seen`; -1 when none. With
  // `traced_only` the exit must show the slowdown: its values are not both 0, or (for a
  // start, looked for backwards) a warning board of the same speed stands before it.
  int64_t nearest(int64_t from, int step, const TrackCell& seen, bool traced_only) const {
    const bool shows_values = seen.value2 != 0 || seen.value3 != 0;
    Key key{seen.value2, seen.value3, kAnyWarning};
    if (traced_only && !shows_values) {
      if (step > 0) return -1;
      key.warning_speed = seen.value1;
    }
    const auto group = free_.find(key);
    if (group == free_.end()) return -1;
    const std::set<int64_t>& exits = group->second;
    for (const int direction : {step, -step}) {
      if (direction > 0) {
        if (const auto after = exits.upper_bound(from); after != exits.end()) return *after;
      } else if (const auto at = exits.lower_bound(from); at != exits.begin()) {
        return *std::prev(at);
      }
    }
    return -1;
  }

  void take(int64_t c) { file(c, false); }

 private:
  static constexpr int32_t kAnyWarning = -1 - 0x10000;  // no int16_t speed
  struct Key {
    int32_t value2, value3, warning_speed;
    auto operator<=>(const Key&) const = default;
  };

  // Files exit c under its keys (`free`), or takes it out of them.
  void file(int64_t c, bool free) {
    if (!holds(s_, c, kStationExit)) return;
    const TrackCell& exit = cell_at(s_, c);
    if (exit.signal_time != 0 || exit.value4 != 0) return;
    const auto put = [&](const Key& key) {
      if (free)
        free_[key].insert(c);
      else if (const auto group = free_.find(key); group != free_.end())
        group->second.erase(c);
    };
    put({exit.value2, exit.value3, kAnyWarning});
    const int64_t warning = c - kSlowdownWarningCells;
    if (holds(s_, warning, kSlowdownWarningBoard)) put({exit.value2, exit.value3, cell_at(s_, warning).value1});
  }

  const CompiledScenario& s_;
  std::map<Key, std::set<int64_t>> free_;
};

// The cells as the slowdowns left them, as far as the exits tell: a warning board stands 24
// cells before its start, so an exit there took a start, whose speed the board keeps and
// whose second value and f_tt the exit keeps.
std::vector<TrackCell> with_starts_under_exits(const CompiledScenario& s) {
  std::vector<TrackCell> cells = s.cells;
  for (int64_t c = kSlowdownWarningCells; c <= s.last_cell(); ++c) {
    const int64_t w = c - kSlowdownWarningCells;
    if (!holds(s, c, kStationExit) || !holds(s, w, kSlowdownWarningBoard)) continue;
    const TrackCell& exit = cell_at(s, c);
    if (exit.signal_time != 0 || exit.value4 != 0 || exit.value2 != cell_at(s, w).value2) continue;
    TrackCell& start = cells[static_cast<size_t>(c)];
    start = TrackCell{};
    start.kind = kSlowdownStart;
    start.value1 = cell_at(s, w).value1;
    start.value2 = exit.value2;
    start.value3 = exit.value3;
  }
  return cells;
}

// A station exit takes its cell whatever it holds, so a start or an end beneath one is gone
// from the pairing. Only an exit overwrites a slowdown's cell: an end without a start had its
// start under an exit (the nearest before it that agrees), and a start whose end is not in
// its own cell had its end under one, which only an exit that shows the values can tell.
// Exits that show the slowdown are taken before those that show nothing.
void complete_under_exits(const CompiledScenario& s, SlowdownPairing& pairing) {
  // The starts and ends paired are taken, and so are the cells in front of a start: its own
  // warning and approach boards'.
  std::vector<bool> taken(static_cast<size_t>(std::max<int64_t>(s.last_cell() + 1, 0)), false);
  const auto take = [&](int64_t c) {
    if (has_cell(s, c)) taken[static_cast<size_t>(c)] = true;
  };
  for (const SlowdownCells& slowdown : pairing.slowdowns) {
    take(slowdown.start_cell);
    take(slowdown.end_cell);
    for (int64_t c = slowdown.start_cell - kSlowdownWarningCells - 2 - kApproachBoardCount;
         c <= slowdown.start_cell - kSlowdownWarningCells; ++c)
      take(c);
  }
  FreeExits exits(s, taken);
  for (const int64_t end : pairing.lone_ends) {
    int64_t start = exits.nearest(end, -1, cell_at(s, end), true);
    if (start < 0) start = exits.nearest(end, -1, cell_at(s, end), false);
    if (start < 0) continue;
    exits.take(start);
    pairing.slowdowns.push_back({start, end});
  }
  for (SlowdownCells& slowdown : pairing.slowdowns) {
    if (slowdown.end_cell != slowdown.start_cell || holds(s, slowdown.start_cell, kStationExit)) continue;
    const int64_t end = exits.nearest(slowdown.start_cell, 1, cell_at(s, slowdown.start_cell), true);
    if (end < 0) continue;
    exits.take(end);
    slowdown.end_cell = end;
  }
  std::sort(pairing.slowdowns.begin(), pairing.slowdowns.end(),
            [](const SlowdownCells& a, const SlowdownCells& b) { return a.start_cell < b.start_cell; });
}

}  // namespace

// A position on a cell boundary leaves one cell between the warning board and its approach
// boards; one 25 m past the boundary of an even cell leaves two.
RecoveredSlowdowns recover_slowdowns(const CompiledScenario& s, Remarks& remarks) {
  RecoveredSlowdowns recovered;
  std::vector<PlacedRow>& rows = recovered.rows;
  std::set<int64_t> used;
  SlowdownPairing pairing = pair_slowdowns(with_starts_under_exits(s));
  complete_under_exits(s, pairing);
  // The first start cell of a position past the warning boards' limit: 1501 m and on.
  constexpr int64_t kFirstWarnedCell = kSlowdownWarningFrom_m / kCell_m + 1;
  for (const SlowdownCells& slowdown : pairing.slowdowns) {
    const int64_t start = slowdown.start_cell;
    const int64_t end = slowdown.end_cell;
    // The speed from whichever of the two cells no exit took.
    const TrackCell& cell = cell_at(s, holds(s, start, kStationExit) ? end : start);
    used.insert(end);
    const int64_t warning = start - kSlowdownWarningCells;
    const bool warned = start > kFirstWarnedCell || (start == kFirstWarnedCell && holds(s, warning, kSlowdownWarningBoard));
    int64_t x = (start - 1) * kCell_m;
    if (start == kFirstWarnedCell && warned) x = kSlowdownWarningFrom_m + 1;
    // Its row comes before the station whose exit took its start or its end.
    int before_slot = 0;
    for (const int64_t taken : {start, end}) {
      const int slot = exit_slot(s, taken);
      if (slot == 0) continue;
      recovered.exit_cells.insert(taken);
      if (before_slot == 0 || slot < before_slot) before_slot = slot;
    }
    int f_ta = 0;
    if (warned) {
      used.insert(warning);
      if (!holds(s, warning, kSlowdownWarningBoard)) {
        const int slot = exit_slot(s, warning);
        if (slot != 0) recovered.exit_cells.insert(warning);
        if (slot != 0 && (before_slot == 0 || slot < before_slot)) before_slot = slot;
        if (slot == 0) remarks.push_back(cell_name(start) + ": a slowdown whose warning board is gone");
      }
      for (const int64_t gap : {1, 2}) {
        if (gap == 2 && start % 2 != 0) break;  // 25 m past the boundary of an even cell only
        if (!approach_boards_at(s, warning, gap, used)) continue;
        f_ta = 1;
        if (gap == 2) x = (start - 2) * kCell_m + kCell_m / 2;
        for (int i = 0; i < kApproachBoardCount; ++i) {
          used.insert(warning - gap - i);
          const int slot = exit_slot(s, warning - gap - i);
          if (slot == 0) continue;
          recovered.exit_cells.insert(warning - gap - i);
          if (before_slot == 0 || slot < before_slot) before_slot = slot;
        }
        break;
      }
    }
    if (!s.row_fits(x)) {
      remarks.push_back(cell_name(start) + ": a slowdown too near the end of the route for a row");
      continue;
    }
    // The end's cell from x + l: on its cell's boundary, wherever x lies.
    const int64_t length = end == start ? 0 : (end - 1) * kCell_m - x;
    rows.push_back({write_slowdown_row({x, cell.value1, length, cell.value3, f_ta, cell.value2}), before_slot});
  }
  for (int64_t c = 0; c <= s.last_cell(); ++c) {
    const uint8_t kind = cell_at(s, c).kind;
    if ((kind == kSlowdownEnd || kind == kSlowdownWarningBoard || kind == kApproachBoard) && !used.contains(c))
      remarks.push_back(cell_name(c) + ": a " + cell_kind_name(kind) + " of no slowdown");
  }
  return recovered;
}

}  // namespace scenario
