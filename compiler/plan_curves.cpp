#include "compiler/plan_curves.hpp"

#include <algorithm>

#include "schema/field_reader.hpp"

namespace scenario {

std::optional<double> curvature_of(std::string_view keyword) {
  for (const auto& [digit, curvature] : kCurveCurvatures) {
    if (keyword.find(digit) != std::string_view::npos) return contains_ignoring_case(keyword, "s") ? -curvature : curvature;
  }
  return std::nullopt;
}

bool extend_plan_through(LinePlan& plan, int64_t last_metre, double curvature, bool limited) {
  const int32_t first = plan.computed_end();
  if (first > last_metre) return true;
  // The limit stops the plan right after it has computed metre kPlanMetreLimit.
  plan.extend_through(limited ? std::min<int64_t>(last_metre, kPlanMetreLimit) : last_metre, curvature);
  return !(limited && plan.computed_end() > kPlanMetreLimit);
}

}  // namespace scenario
