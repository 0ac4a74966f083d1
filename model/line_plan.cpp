#include "model/line_plan.hpp"

#include "model/runtime_failure.hpp"

namespace scenario {

LinePlan::LinePlan(int32_t extent_m) : extent_m_(extent_m) {
  if (extent_m < 0) throw RuntimeFailure("line plan with a negative extent");
  // Reserved once, so the metre-by-metre appends never move the arrays.
  const auto capacity = static_cast<size_t>(extent_m > 1 ? extent_m - 1 : 0);
  xs_.reserve(capacity);
  ys_.reserve(capacity);
}

void LinePlan::set_starting_points() {
  if (extent_m_ < 1) throw RuntimeFailure("line plan too short for its starting points");
  has_start_ = true;
  xs_.clear();
  ys_.clear();
}

void LinePlan::append_point(double x, double y) {
  if (!has_start_ || computed_end() > extent_m_) throw RuntimeFailure("line plan index out of range");
  xs_.push_back(x);
  ys_.push_back(y);
}

PlanPoint LinePlan::point(int64_t metre) const {
  if (has_start_ && metre == 0) return {0.0, 0.0};
  if (has_start_ && metre == 1) return {0.0, 1.0};
  if (metre < 2 || metre >= computed_end()) throw RuntimeFailure("line plan point not computed");
  const auto i = static_cast<size_t>(metre - 2);
  return {xs_[i], ys_[i]};
}

PlanElement LinePlan::element(int64_t metre, int axis) const {
  if (metre < 0 || metre > extent_m_ || axis < 0 || axis > 1)
    throw RuntimeFailure("line plan index out of range");
  PlanElement e;
  if (metre < 2) {
    if (has_start_) {
      e.tag = PlanElement::kInt16;
      e.integer = (metre == 1 && axis == 1) ? 1 : 0;
    }
  } else if (metre < computed_end()) {
    e.tag = PlanElement::kDouble;
    const auto i = static_cast<size_t>(metre - 2);
    e.real = axis == 0 ? xs_[i] : ys_[i];
  }
  return e;
}

}  // namespace scenario
