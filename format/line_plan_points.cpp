#include "format/line_plan_points.hpp"

namespace scenario {

namespace {
// Points decoded at a time: a few pages, which stay in the cache while they are used.
constexpr size_t kBlockPoints = 1024;
}  // namespace

bool LinePlanPoints::refill() {
  if (ended_) return false;
  block_.resize(kBlockPoints);
  filled_ = decoder_.next(block_);
  at_ = 0;
  ended_ = filled_ == 0;
  return !ended_;
}

int64_t computed_plan_points(const PlanBytes& bytes) { return line_plan_extent(bytes).computed_points; }

}  // namespace scenario
