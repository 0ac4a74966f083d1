#include "decompile/slowdown_recovery.hpp"

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

}  // namespace

// A position on a cell boundary leaves one cell between the warning board and its approach
// boards; one 25 m past the boundary of an even cell leaves two.
RecoveredSlowdowns recover_slowdowns(const CompiledScenario& s, Remarks& remarks) {
  RecoveredSlowdowns recovered;
  std::vector<PlacedRow>& rows = recovered.rows;
  std::set<int64_t> used;
  const SlowdownPairing pairing = pair_slowdowns(s.cells);
  // The first start cell of a position past the warning boards' limit: 1501 m and on.
  constexpr int64_t kFirstWarnedCell = kSlowdownWarningFrom_m / kCell_m + 1;
  for (const SlowdownCells& slowdown : pairing.slowdowns) {
    const int64_t start = slowdown.start_cell;
    const int64_t end = slowdown.end_cell;
    const TrackCell& cell = cell_at(s, start);
    used.insert(end);
    const int64_t warning = start - kSlowdownWarningCells;
    const bool warned = start > kFirstWarnedCell || (start == kFirstWarnedCell && holds(s, warning, kSlowdownWarningBoard));
    int64_t x = (start - 1) * kCell_m;
    if (start == kFirstWarnedCell && warned) x = kSlowdownWarningFrom_m + 1;
    int before_slot = 0;
    int f_ta = 0;
    if (warned) {
      used.insert(warning);
      if (!holds(s, warning, kSlowdownWarningBoard)) {
        before_slot = exit_slot(s, warning);
        if (before_slot != 0) recovered.exit_cells.insert(warning);
        if (before_slot == 0) remarks.push_back(cell_name(start) + ": a slowdown whose warning board is gone");
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
    rows.push_back({"rallentamento," + column(x, 8) + "," + column(cell.value1, 6) + "," + column(length, 5) + "," +
                        column(cell.value3, 2) + "," + column(f_ta, 3) + "," + column(cell.value2, 4),
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
