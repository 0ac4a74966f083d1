#include "model/line_plan.hpp"

#include <bit>
#include <cstdint>

#include "model/bit_cast.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {

LinePlan::LinePlan(int32_t extent_m) : extent_m_(extent_m) {
  if (extent_m < 0) throw RuntimeFailure("line plan with a negative extent");
}

void LinePlan::set_starting_points() {
  if (extent_m_ < 1) throw RuntimeFailure("line plan too short for its starting points");
  has_start_ = true;
  computed_end_ = 2;
  runs_.clear();
}

void LinePlan::extend_through(int64_t last, double curvature) {
  if (last < computed_end_) return;
  if (!has_start_) throw RuntimeFailure("line plan point not computed");
  const bool too_far = last > extent_m_;
  if (too_far) last = extent_m_;
  if (last >= computed_end_) {
    // A run that turns as the one before it lengthens that one: the points are the same.
    const auto metre = static_cast<int32_t>(last);
    if (!runs_.empty() && bit_cast<uint64_t>(runs_.back().curvature) == bit_cast<uint64_t>(curvature))
      runs_.back().last_metre = metre;
    else
      runs_.push_back({metre, curvature});
    computed_end_ = metre + 1;
  }
  if (too_far) throw RuntimeFailure("line plan index out of range");
}

void PlanPointGenerator::fail_past_the_end() { throw RuntimeFailure("line plan points asked past the computed end"); }

}  // namespace scenario
