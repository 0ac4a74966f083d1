#include "postpass/signalling_walk.hpp"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "model/fault_table.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

constexpr int16_t kSlowSlowdownBelow = 110;   // slower slowdowns get repeat and exit points
constexpr int kRepeatInterval = 8;            // cells between repeat points (400 m)
constexpr int64_t kWarningLookBack = 20;      // cells in front of a warning board
constexpr int64_t kFirstSignalBehindBoard = 3;  // lowest signal cell rule W looks at
constexpr int64_t kExitLookAhead = 12;        // cells after a slowdown end

// Cells in front of a slowdown start: the first free one of each window gets a point.
struct ApproachWindow {
  int64_t nearest;
  int64_t farthest;
};
constexpr ApproachWindow kApproachWindows[] = {{5, 7}, {11, 13}, {18, 20}};

// The highest cell index the walk may touch: last_cell, never beyond the cells that exist.
int64_t top_cell(const ScenarioModel& model) {
  if (!model.cells_dimensioned()) return -1;
  return std::min<int64_t>(model.last_cell, static_cast<int64_t>(model.cells.size()) - 1);
}

bool exists(const ScenarioModel& model, int64_t c) { return c >= 0 && c <= top_cell(model); }

// A cell outside the track is neither free nor of any kind.
bool cell_is_free(const ScenarioModel& model, int64_t c) { return exists(model, c) && model.cell(c).is_free(); }
bool cell_holds(const ScenarioModel& model, int64_t c, CellKind kind) {
  return exists(model, c) && model.cell(c).kind == kind;
}

void place_point(ScenarioModel& model, int64_t c) {
  TrackCell& cell = model.cell(c);
  cell.kind = kCodeReduction;
  cell.value1 = kWalkPointSpeed_kmh;
}

// A point already there keeps its speed when that is lower than the walk's own.
void lower_point(ScenarioModel& model, int64_t c) {
  TrackCell& cell = model.cell(c);
  cell.value1 = std::min(kWalkPointSpeed_kmh, cell.value1);
}

std::optional<int64_t> first_free_cell(const ScenarioModel& model, std::initializer_list<int64_t> candidates) {
  for (const int64_t c : candidates)
    if (cell_is_free(model, c)) return c;
  return std::nullopt;
}

// The model being walked and the faults found so far.
struct Walk {
  ScenarioModel& model;
  std::vector<WalkFault> faults;
};

// A point in the first free of the two cells in front of the signal in cell `s`.
bool place_point_in_front_of_signal(ScenarioModel& model, int64_t s) {
  const std::optional<int64_t> c = first_free_cell(model, {s - 1, s - 2});
  if (c) place_point(model, *c);
  return c.has_value();
}

// Rule W: every signal within the cells in front of a slowdown warning board in cell `i`
// gets a point just in front of it, or has the point already there lowered.
void apply_warning_board_rule(Walk& walk, int64_t i) {
  ScenarioModel& model = walk.model;
  for (int64_t k = 1; k <= kWarningLookBack && i - k >= kFirstSignalBehindBoard; ++k) {
    const int64_t s = i - k;
    if (!cell_holds(model, s, kSignal) || place_point_in_front_of_signal(model, s)) continue;
    if (cell_holds(model, s - 1, kCodeReduction))
      lower_point(model, s - 1);
    else if (cell_holds(model, s - 2, kCodeReduction))
      lower_point(model, s - 2);
    else
      walk.faults.push_back({Fault::kNoCellBeforeSignal, i, s, s, {s - 1, s - 2}});
  }
}

void place_approach_points(Walk& walk, int64_t i) {
  for (const ApproachWindow& window : kApproachWindows) {
    if (i <= window.farthest) continue;
    const std::initializer_list<int64_t> tried = {i - window.nearest, i - window.nearest - 1, i - window.farthest};
    const std::optional<int64_t> c = first_free_cell(walk.model, tried);
    if (c)
      place_point(walk.model, *c);
    else
      walk.faults.push_back({Fault::kNoApproachCell, i, i, std::nullopt, tried});
  }
}

// One repeat point due at cell `k` for the slowdown starting in cell `i`; returns the
// counter to go on with. After a fault the counter stays at the interval and then runs past
// it, so the slowdown gets no more.
int place_repeat_point(Walk& walk, int64_t i, int64_t k) {
  ScenarioModel& model = walk.model;
  if (cell_is_free(model, k)) {
    place_point(model, k);
    return 0;
  }
  if (cell_is_free(model, k - 1)) {
    place_point(model, k - 1);
    return 1;
  }
  if (cell_is_free(model, k + 1)) {  // never free beyond the last cell
    place_point(model, k + 1);
    return -1;
  }
  walk.faults.push_back({Fault::kNoRepeatOrExitCell, i, k, std::nullopt, {k, k - 1, k + 1}});
  return kRepeatInterval;
}

// Repeat points every interval from the slowdown start in cell `i` up to its end cell,
// which is returned; none when no end follows before the last cell.
std::optional<int64_t> place_repeat_points(Walk& walk, int64_t i) {
  int counter = 0;
  for (int64_t k = i + 1; k <= top_cell(walk.model); ++k) {
    ++counter;
    if (counter == kRepeatInterval) counter = place_repeat_point(walk, i, k);
    if (cell_holds(walk.model, k, kSlowdownEnd)) return k;
  }
  return std::nullopt;
}

// A point in front of the first signal within the look-ahead after the end cell `e` of the
// slowdown starting in cell `i`.
void place_exit_point(Walk& walk, int64_t i, int64_t e) {
  const int64_t last = std::min(e + kExitLookAhead, top_cell(walk.model));
  for (int64_t m = e; m <= last; ++m) {
    if (!cell_holds(walk.model, m, kSignal)) continue;
    if (m - 1 > 0 && !place_point_in_front_of_signal(walk.model, m))
      walk.faults.push_back({Fault::kNoRepeatOrExitCell, i, e, m, {m - 1, m - 2}});
    return;
  }
}

// Rule S: approach points in front of a slowdown start in cell `i`; a slow slowdown also
// gets repeat points up to its end and an exit point after it.
void apply_slowdown_start_rule(Walk& walk, int64_t i) {
  place_approach_points(walk, i);
  if (walk.model.cell(i).value1 >= kSlowSlowdownBelow) return;
  if (const std::optional<int64_t> e = place_repeat_points(walk, i)) place_exit_point(walk, i, *e);
}

}  // namespace

std::vector<WalkFault> run_signalling_walk(ScenarioModel& model) {
  Walk walk{model, {}};
  // Cells last_cell - 1 and last_cell are never visited themselves.
  const int64_t last_visited = top_cell(model) - 2;
  for (int64_t i = 1; i <= last_visited; ++i) {
    if (cell_holds(model, i, kSlowdownWarningBoard)) apply_warning_board_rule(walk, i);
    if (cell_holds(model, i, kSlowdownStart)) apply_slowdown_start_rule(walk, i);
  }
  return std::move(walk.faults);
}

}  // namespace scenario
