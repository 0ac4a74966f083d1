#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace scenario {

// One element of the line plan as the plan file carries it: empty, a 16-bit integer or a
// double (tags 0, 2 and 5 of the file).
struct PlanElement {
  enum Tag : uint16_t { kEmpty = 0, kInt16 = 2, kDouble = 5 };
  Tag tag = kEmpty;
  int16_t integer = 0;
  double real = 0.0;
  bool operator==(const PlanElement&) const = default;
};

struct PlanPoint {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const PlanPoint&) const = default;
};

// The starting points of every plan, metres 0 and 1, stored as integers.
inline constexpr PlanPoint kPlanStartingPoints[2] = {{0.0, 0.0}, {0.0, 1.0}};

// The point of a metre from the two before it: the previous step turned by `curvature` (0
// runs straight), not brought back to unit length.
inline PlanPoint next_plan_point(const PlanPoint& before, const PlanPoint& previous, double curvature) {
  const double dx = previous.x - before.x;
  const double dy = previous.y - before.y;
  return PlanPoint{previous.x + (dx + curvature * dy), previous.y + (dy - curvature * dx)};
}

// A stretch of the plan that turns by one curvature per metre, through `last_metre`.
struct PlanRun {
  int32_t last_metre = 0;
  double curvature = 0.0;
};

// The plan coordinates of the track metre by metre, metres 0 to extent_m, kept as what they
// are made from: the starting points (0, 0) and (0, 1) at metres 0 and 1, then runs of
// metres each turned by one curvature from the two points before it. The points themselves
// are made on demand, in one pass from the start (PlanPointGenerator), so the plan holds
// no array as long as the route. Every metre not computed is empty.
class LinePlan {
 public:
  LinePlan() = default;
  // A negative extent is a run-time failure.
  explicit LinePlan(int32_t extent_m);

  bool dimensioned() const { return extent_m_ >= 0; }
  int32_t extent_m() const { return extent_m_; }

  // Metres 0 and 1 become the integer points (0, 0) and (0, 1); the runs start over.
  void set_starting_points();
  bool has_starting_points() const { return has_start_; }

  // The first metre not computed yet (2 once the starting points stand).
  int32_t computed_end() const { return computed_end_; }

  // Computes metres computed_end() .. last, each turned by `curvature` from the two points
  // before it. Metres past extent_m are a run-time failure, raised once every metre up to
  // extent_m has been computed.
  void extend_through(int64_t last, double curvature);

  const std::vector<PlanRun>& runs() const { return runs_; }

 private:
  int32_t extent_m_ = -1;
  bool has_start_ = false;
  int32_t computed_end_ = 2;
  std::vector<PlanRun> runs_;
};

// Makes the computed doubles of a plan, metres 2 .. computed_end() - 1, in order and a block
// at a time, each point from the two before it. The plan must outlive the generator and
// stay unchanged while it is read.
class PlanPointGenerator {
 public:
  explicit PlanPointGenerator(const LinePlan& plan)
      : runs_(plan.runs()), end_(plan.has_starting_points() ? plan.computed_end() : 2) {}

  // The metre of the next point, and how many points are still to come.
  int64_t metre() const { return metre_; }
  uint64_t remaining() const { return static_cast<uint64_t>(end_ - metre_); }

  // Makes the next `count` points, at most remaining(), calling emit(point) for each in
  // order. The chain of points stays in locals, so that what emit stores cannot slow it.
  template <typename Emit>
  void make(uint64_t count, Emit emit) {
    if (count > remaining()) fail_past_the_end();
    PlanPoint before = before_, previous = previous_;
    while (count > 0) {
      const PlanRun& run = runs_.at(run_);
      const auto n = std::min(count, static_cast<uint64_t>(run.last_metre - metre_ + 1));
      const double curvature = run.curvature;
      for (uint64_t i = 0; i < n; ++i) {
        const PlanPoint p = next_plan_point(before, previous, curvature);
        emit(p);
        before = previous;
        previous = p;
      }
      metre_ += static_cast<int64_t>(n);
      count -= n;
      if (metre_ > run.last_metre) ++run_;
    }
    before_ = before;
    previous_ = previous;
  }

  // Fills `out` from the front with the next points; returns how many, 0 once they end.
  size_t next(std::span<PlanPoint> out) {
    const auto count = static_cast<size_t>(std::min<uint64_t>(out.size(), remaining()));
    PlanPoint* at = out.data();
    make(count, [&at](const PlanPoint& p) { *at++ = p; });
    return count;
  }

 private:
  [[noreturn]] static void fail_past_the_end();

  const std::vector<PlanRun>& runs_;
  int64_t end_;
  size_t run_ = 0;
  int64_t metre_ = 2;
  PlanPoint before_ = kPlanStartingPoints[0];
  PlanPoint previous_ = kPlanStartingPoints[1];
};

}  // namespace scenario
