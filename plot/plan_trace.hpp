#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/line_plan.hpp"
#include "reading/compiled_scenario.hpp"

namespace scenario {

// A stretch of the curve band: metres of one turning, told in the author's words.
struct TurningRun {
  int64_t from_m = 0;
  int64_t to_m = 0;  // where the next run starts, or the window's end
  std::string text;  // turning_text of its first metre
  double turning = 0;
};

// Everything the picture takes from the line plan within a window of metres, gathered in
// one pass over the plan's points.
struct PlanTrace {
  int64_t points = 0;  // computed points in the window
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  // The path of the plan view: every step-th point of the window (`step` so chosen that
  // at most `max_path_points` are kept), then the window's last point.
  std::vector<PlanPoint> path;
  PlanPoint last;
  // The point of each metre asked for; none for one the plan does not reach.
  std::map<int64_t, std::optional<PlanPoint>> places;
  // The runs of one turning from metre 2 on, straight ones included.
  std::vector<TurningRun> turnings;
};

// The trace of metres from_m .. to_m (both in) of the scenario's plan, with the places of
// `wanted` metres; empty without a plan. The whole plan is read, and so checked: DecodeError
// for a damaged one (PlanCheck::kAsRead).
PlanTrace trace_plan(const LoadedScenario& s, int64_t from_m, int64_t to_m, const std::vector<int64_t>& wanted,
                     size_t max_path_points);

}  // namespace scenario
