#include "plot/plan_trace.hpp"

#include <algorithm>
#include <future>
#include <span>
#include <system_error>

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

[[noreturn]] void plan_changed() { throw DecodeError(0, "the line plan file changed while it was read"); }

// What a part of the trace needs to know of the whole.
struct TraceFrame {
  int64_t from_m = 0;
  int64_t to_m = 0;
  int64_t window_start = 0;  // the window's first metre on the plan
  int64_t step = 1;          // the path keeps window_start, window_start + step, ...
};

// The trace of the points from metre `begin` to `end` (not in; the file's end for the last
// part, which checks the rest of the file). Turning runs begin afresh at `begin`; joined()
// mends them where parts meet.
PlanTrace trace_part(const LoadedScenario& s, const TraceFrame& frame, const std::vector<int64_t>& wanted,
                     int64_t begin, std::optional<int64_t> end) {
  PlanTrace trace;
  for (const int64_t metre : wanted)
    if ((begin == 0 || metre >= begin) && (!end || metre < *end)) trace.places[metre];
  LinePlanDecoder decoder(s.plan_bytes);
  std::vector<PlanPoint> points(kHistory + kBlockPoints);
  std::vector<double> turnings(kBlockPoints);
  // A part after the first (which begins past the starting points) starts with the two
  // points before its first, for its turnings.
  if (begin != 0) {
    decoder.seek(begin - static_cast<int64_t>(kHistory));
    if (decoder.next(std::span(points.data(), kHistory)) != kHistory) plan_changed();
  }
  // The metres asked for come in order, as the points do.
  auto next_place = trace.places.begin();
  // Points of the window before the next one the path keeps.
  const int64_t first_in_window = std::max(begin, frame.window_start);
  int64_t until_kept = (frame.step - (first_in_window - frame.window_start) % frame.step) % frame.step;
  // A turning equal to the metre before's has its words too, and words are made only for the
  // first metre of a run.
  double last_turning = 0;
  bool run_open = false;
  // `first` is the metre of the block's first point; the last part reads to the file's end,
  // and so checks all of it.
  int64_t first = begin;
  for (size_t n; (n = decoder.next(std::span(points.data() + kHistory,
                                             end ? static_cast<size_t>(std::min<int64_t>(
                                                       static_cast<int64_t>(kBlockPoints), *end - first))
                                                 : kBlockPoints))) > 0;
       first += static_cast<int64_t>(n)) {
    const PlanPoint* block = points.data() + kHistory;
    const auto count = static_cast<int64_t>(n);
    // The points of the block in the window: [lo, hi).
    const int64_t lo = std::clamp<int64_t>(frame.from_m - first, 0, count);
    const int64_t hi = std::clamp<int64_t>(frame.to_m + 1 - first, lo, count);
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
        if (until_kept-- == 0) trace.path.push_back(block[i]), until_kept = frame.step - 1;
      trace.points += hi - lo;
      trace.last = block[hi - 1];
    }
    for (; next_place != trace.places.end() && next_place->first < first + hi; ++next_place)
      if (next_place->first >= first + lo) next_place->second = block[next_place->first - first];
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
      trace.turnings.push_back({first + i, frame.to_m, turning_text(k), k});
      run_open = true;
    }
    // The last two points read stay for the next block's turnings.
    std::copy(points.begin() + count, points.begin() + count + static_cast<std::ptrdiff_t>(kHistory), points.begin());
  }
  // A part that ends short, or a whole file of another length than counted, is a file that
  // changed since it was counted.
  if (end ? first != *end : decoder.metre() != s.plan_points) plan_changed();
  return trace;
}

// The trace of two neighbouring parts as one. A metre's turning run goes on wherever its words
// are those of the run it would go on, and every metre of a run has the run's words: so the
// second part's first run belongs to the first part's last run exactly when their words are
// the same, and the runs after it are as one pass would have made them.
PlanTrace joined(PlanTrace first, PlanTrace second) {
  if (second.points > 0) {
    if (first.points == 0) {
      first.min_x = second.min_x, first.max_x = second.max_x, first.min_y = second.min_y, first.max_y = second.max_y;
    } else {
      first.min_x = std::min(first.min_x, second.min_x), first.max_x = std::max(first.max_x, second.max_x);
      first.min_y = std::min(first.min_y, second.min_y), first.max_y = std::max(first.max_y, second.max_y);
    }
    first.points += second.points;
    first.last = second.last;
  }
  first.path.insert(first.path.end(), second.path.begin(), second.path.end());
  first.places.merge(second.places);
  auto runs = second.turnings.begin();
  if (!first.turnings.empty() && runs != second.turnings.end()) {
    TurningRun& open = first.turnings.back();
    if (same_turning_text(runs->turning, open.turning)) {
      open.to_m = runs->to_m;
      ++runs;
    } else {
      open.to_m = runs->from_m;
    }
  }
  first.turnings.insert(first.turnings.end(), std::make_move_iterator(runs),
                        std::make_move_iterator(second.turnings.end()));
  return first;
}

TraceFrame frame_of(const LoadedScenario& s, int64_t from_m, int64_t to_m, size_t max_path_points) {
  // The points in the window follow from the count alone: metres 0 .. plan_points - 1.
  const int64_t window_start = std::max<int64_t>(from_m, 0);
  const int64_t in_window = std::max<int64_t>(std::min(s.plan_points - 1, to_m) - window_start + 1, 0);
  const auto step = std::max<int64_t>(
      static_cast<int64_t>((static_cast<size_t>(in_window) + max_path_points - 1) / max_path_points), 1);
  return {from_m, to_m, window_start, step};
}

PlanTrace without_plan(const std::vector<int64_t>& wanted) {
  PlanTrace trace;
  for (const int64_t metre : wanted) trace.places[metre];
  return trace;
}

}  // namespace

PlanTrace trace_plan(const LoadedScenario& s, int64_t from_m, int64_t to_m, const std::vector<int64_t>& wanted,
                     size_t max_path_points) {
  if (!s.has_plan) return without_plan(wanted);
  if (s.plan_points >= kSplitTraceFromPoints)
    return trace_plan_in_halves(s, from_m, to_m, wanted, max_path_points, s.plan_points / 2);
  return trace_part(s, frame_of(s, from_m, to_m, max_path_points), wanted, 0, std::nullopt);
}

PlanTrace trace_plan_in_halves(const LoadedScenario& s, int64_t from_m, int64_t to_m,
                               const std::vector<int64_t>& wanted, size_t max_path_points, int64_t middle) {
  if (!s.has_plan) return without_plan(wanted);
  const TraceFrame frame = frame_of(s, from_m, to_m, max_path_points);
  // The second part begins past the starting points, and at the latest where the plan ends.
  if (s.plan_points < static_cast<int64_t>(kHistory)) return trace_part(s, frame, wanted, 0, std::nullopt);
  middle = std::clamp(middle, static_cast<int64_t>(kHistory), s.plan_points);
  // The second half on a thread of its own; where none can be had, after the first.
  const auto second_half = [&] { return trace_part(s, frame, wanted, middle, std::nullopt); };
  std::future<PlanTrace> second;
  try {
    second = std::async(std::launch::async, second_half);
  } catch (const std::system_error&) {
    second = std::async(std::launch::deferred, second_half);
  }
  PlanTrace first = trace_part(s, frame, wanted, 0, middle);
  return joined(std::move(first), second.get());
}

}  // namespace scenario
