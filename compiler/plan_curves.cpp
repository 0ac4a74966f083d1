#include "compiler/plan_curves.hpp"

#include <array>

#include "compiler/field_reader.hpp"

namespace scenario {

std::optional<double> curvature_of(std::string_view keyword) {
  static constexpr std::array<std::pair<std::string_view, double>, 6> kCurvatures = {{
      {"1", 0.0001},
      {"2", 0.0002},
      {"3", 0.0004},
      {"4", 0.001},
      {"5", 0.002},
      {"6", 0.003},
  }};
  for (const auto& [digit, curvature] : kCurvatures) {
    if (contains(keyword, digit)) return contains_ignoring_case(keyword, "s") ? -curvature : curvature;
  }
  return std::nullopt;
}

bool extend_plan_through(LinePlan& plan, int64_t last_metre, double curvature, bool limited) {
  while (plan.computed_end() <= last_metre) {
    const int32_t metre = plan.computed_end();
    const PlanPoint before = plan.point(metre - 2);
    const PlanPoint last = plan.point(metre - 1);
    const double dx = last.x - before.x;
    const double dy = last.y - before.y;
    plan.append_point(last.x + (dx + curvature * dy), last.y + (dy - curvature * dx));
    if (limited && plan.computed_end() > kPlanMetreLimit) return false;
  }
  return true;
}

}  // namespace scenario
