#include "decompile/slowdown_recovery.hpp"

#include <algorithm>

#include "compiler/row_schema.hpp"
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

// Whether a station exit in cell c may have taken the start (`start`) or the end of a
// slowdown whose standing cell is `seen`: the exit writes only the kind and the first value,
// so the cell keeps the second value and f_tt as the standing cell has them, and nothing a
// slowdown does not write. `traced`: those values tell the slowdown (one is not 0), or a
// start's warning board of the same speed stands before it.
bool exit_may_hold(const CompiledScenario& s, int64_t c, const TrackCell& seen, bool start, bool& traced) {
  if (!holds(s, c, kStationExit)) return false;
  const TrackCell& exit = cell_at(s, c);
  const int64_t warning = c - kSlowdownWarningCells;
  traced = seen.value2 != 0 || seen.value3 != 0 ||
           (start && holds(s, warning, kSlowdownWarningBoard) && cell_at(s, warning).value1 == seen.value1);
  return exit.signal_time == 0 && exit.value4 == 0 && exit.value2 == seen.value2 && exit.value3 == seen.value3;
}

// The nearest exit cell from `from` in the direction `step` (then the other way) that may
// hold the missing cell of the slowdown whose standing cell is `seen`; -1 when none. With
// `traced_only` the exit must show the slowdown's values.
int64_t nearest_exit_holding(const CompiledScenario& s, int64_t from, int step, const TrackCell& seen, bool traced_only,
                             const std::set<int64_t>& taken) {
  for (const int direction : {step, -step}) {
    for (int64_t c = from + direction; has_cell(s, c); c += direction) {
      bool traced = false;
      if (!taken.contains(c) && exit_may_hold(s, c, seen, step < 0, traced) && (traced || !traced_only)) return c;
    }
  }
  return -1;
}

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
  std::set<int64_t> taken;
  for (const SlowdownCells& slowdown : pairing.slowdowns) {
    taken.insert({slowdown.start_cell, slowdown.end_cell});
    for (int64_t c = slowdown.start_cell - kSlowdownWarningCells - 2 - kApproachBoardCount;
         c <= slowdown.start_cell - kSlowdownWarningCells; ++c)
      taken.insert(c);
  }
  for (const int64_t end : pairing.lone_ends) {
    int64_t start = nearest_exit_holding(s, end, -1, cell_at(s, end), true, taken);
    if (start < 0) start = nearest_exit_holding(s, end, -1, cell_at(s, end), false, taken);
    if (start < 0) continue;
    taken.insert(start);
    pairing.slowdowns.push_back({start, end});
  }
  for (SlowdownCells& slowdown : pairing.slowdowns) {
    if (slowdown.end_cell != slowdown.start_cell || holds(s, slowdown.start_cell, kStationExit)) continue;
    const int64_t end = nearest_exit_holding(s, slowdown.start_cell, 1, cell_at(s, slowdown.start_cell), true, taken);
    if (end < 0) continue;
    taken.insert(end);
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
    rows.push_back({source_row("rallentamento", {column(x, 8), column(cell.value1, 6), column(length, 5),
                                                 column(cell.value3, 2), column(f_ta, 3), column(cell.value2, 4)}),
                    before_slot});
  }
  for (int64_t c = 0; c <= s.last_cell(); ++c) {
    const uint8_t kind = cell_at(s, c).kind;
    if ((kind == kSlowdownEnd || kind == kSlowdownWarningBoard || kind == kApproachBoard) && !used.contains(c))
      remarks.push_back(cell_name(c) + ": a " + cell_kind_name(kind) + " of no slowdown");
  }
  return recovered;
}

}  // namespace scenario
