#include "plot/plan_trace.hpp"

#include <algorithm>
#include <span>

#include "format/byte_reader.hpp"
#include "format/line_plan_decoder.hpp"
#include "reading/track_reading.hpp"

namespace scenario {

namespace {

// Points decoded at a time: a few pages, which stay in the cache while they are used.
constexpr size_t kBlockPoints = 1024;
// A metre's turning takes the two points before it: a block is read in behind the last two
// of the block before.
constexpr size_t kHistory = 2;

}  // namespace

PlanTrace trace_plan(const LoadedScenario& s, int64_t from_m, int64_t to_m, const std::vector<int64_t>& wanted,
                     size_t max_path_points) {
  PlanTrace trace;
  for (const int64_t metre : wanted) trace.places[metre];
  if (!s.has_plan) return trace;
  // The points in the window follow from the count alone: metres 0 .. plan_points - 1.
  const int64_t in_window = std::max<int64_t>(std::min(s.plan_points - 1, to_m) - std::max<int64_t>(from_m, 0) + 1, 0);
  const auto step = std::max<int64_t>(
      static_cast<int64_t>((static_cast<size_t>(in_window) + max_path_points - 1) / max_path_points), 1);
  LinePlanDecoder decoder(s.plan_bytes);
  std::vector<PlanPoint> points(kHistory + kBlockPoints);
  std::vector<double> turnings(kBlockPoints);
  // The metres asked for come in order, as the points do.
  auto next_place = trace.places.lower_bound(from_m);
  int64_t until_kept = 0;  // points of the window before the next one the path keeps
  // A turning equal to the metre before's has its words too, and words are made only for the
  // first metre of a run.
  double last_turning = 0;
  bool run_open = false;
  // The whole file is read all the same, and so checked; `first` is the metre of the
  // block's first point.
  int64_t first = 0;
  for (size_t n; (n = decoder.next(std::span(points.data() + kHistory, kBlockPoints))) > 0;
       first += static_cast<int64_t>(n)) {
    const PlanPoint* block = points.data() + kHistory;
    const auto count = static_cast<int64_t>(n);
    // The points of the block in the window: [lo, hi).
    const int64_t lo = std::clamp<int64_t>(from_m - first, 0, count);
    const int64_t hi = std::clamp<int64_t>(to_m + 1 - first, lo, count);
    if (hi > lo) {
      if (trace.points == 0) trace.min_x = trace.max_x = block[lo].x, trace.min_y = trace.max_y = block[lo].y;
      // In locals, which the points' stores cannot touch, so that they stay in registers.
      double min_x = trace.min_x, max_x = trace.max_x, min_y = trace.min_y, max_y = trace.max_y;
      for (int64_t i = lo; i < hi; ++i) {
        min_x = std::min(min_x, block[i].x), max_x = std::max(max_x, block[i].x);
        min_y = std::min(min_y, block[i].y), max_y = std::max(max_y, block[i].y);
      }
      trace.min_x = min_x, trace.max_x = max_x, trace.min_y = min_y, trace.max_y = max_y;
      for (int64_t i = lo; i < hi; ++i)
        if (until_kept-- == 0) trace.path.push_back(block[i]), until_kept = step - 1;
      trace.points += hi - lo;
      trace.last = block[hi - 1];
    }
    for (; next_place != trace.places.end() && next_place->first < first + hi; ++next_place)
      next_place->second = block[next_place->first - first];
    // Turnings from metre 2 on: all of the part first, then their runs.
    const int64_t turning_from = std::max<int64_t>(lo, 2 - first);
    for (int64_t i = turning_from; i < hi; ++i)
      turnings[static_cast<size_t>(i)] = plan_turning(block[i - 2], block[i - 1], block[i]);
    for (int64_t i = turning_from; i < hi; ++i) {
      const double k = turnings[static_cast<size_t>(i)];
      if (run_open && k == last_turning) continue;
      last_turning = k;
      if (run_open && same_turning_text(k, trace.turnings.back().turning)) continue;
      if (run_open) trace.turnings.back().to_m = first + i;
      trace.turnings.push_back({first + i, to_m, turning_text(k), k});
      run_open = true;
    }
    // The last two points read stay for the next block's turnings.
    std::copy(points.begin() + count, points.begin() + count + static_cast<std::ptrdiff_t>(kHistory), points.begin());
  }
  // Only a file that changed since it was counted gets here.
  if (decoder.metre() != s.plan_points) throw DecodeError(0, "the line plan file changed while it was read");
  return trace;
}

}  // namespace scenario
