#include "plot/plan_trace.hpp"

#include <algorithm>

#include "format/byte_reader.hpp"
#include "format/line_plan_points.hpp"
#include "reading/track_reading.hpp"

namespace scenario {

PlanTrace trace_plan(const LoadedScenario& s, int64_t from_m, int64_t to_m, const std::vector<int64_t>& wanted,
                     size_t max_path_points) {
  PlanTrace trace;
  for (const int64_t metre : wanted) trace.places[metre];
  if (!s.has_plan) return trace;
  // The points in the window follow from the count alone: metres 0 .. plan_points - 1.
  const int64_t in_window = std::max<int64_t>(std::min(s.plan_points - 1, to_m) - std::max<int64_t>(from_m, 0) + 1, 0);
  const auto step = std::max<int64_t>(
      static_cast<int64_t>((static_cast<size_t>(in_window) + max_path_points - 1) / max_path_points), 1);
  LinePlanPoints points(s.plan_bytes);
  PlanPoint history[3];
  // The metres asked for come in order, as the points do.
  auto next_place = trace.places.lower_bound(from_m);
  int64_t until_kept = 0;  // points of the window before the next one the path keeps
  // A turning equal to the metre before's has its words too, and words are made only for the
  // first metre of a run.
  double last_turning = 0;
  bool run_open = false;
  PlanPoint p;
  while (points.next(p)) {
    history[0] = history[1], history[1] = history[2], history[2] = p;
    const int64_t metre = points.metre();
    if (metre < from_m || metre > to_m) continue;  // read all the same: the whole file is checked
    if (trace.points == 0) trace.min_x = trace.max_x = p.x, trace.min_y = trace.max_y = p.y;
    trace.min_x = std::min(trace.min_x, p.x), trace.max_x = std::max(trace.max_x, p.x);
    trace.min_y = std::min(trace.min_y, p.y), trace.max_y = std::max(trace.max_y, p.y);
    ++trace.points;
    if (until_kept-- == 0) trace.path.push_back(p), until_kept = step - 1;
    trace.last = p;
    if (next_place != trace.places.end() && next_place->first == metre) (next_place++)->second = p;
    if (metre < 2) continue;
    const double k = plan_turning(history[0], history[1], history[2]);
    if (run_open && k == last_turning) continue;
    last_turning = k;
    if (run_open && same_turning_text(k, trace.turnings.back().turning)) continue;
    if (run_open) trace.turnings.back().to_m = metre;
    trace.turnings.push_back({metre, to_m, turning_text(k), k});
    run_open = true;
  }
  // Only a file that changed since it was counted gets here.
  if (points.metre() + 1 != s.plan_points) throw DecodeError(0, "the line plan file changed while it was read");
  return trace;
}

}  // namespace scenario
