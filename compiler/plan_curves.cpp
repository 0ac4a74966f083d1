#include "compiler/plan_curves.hpp"

#include <algorithm>
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
  const int32_t first = plan.computed_end();
  if (first > last_metre) return true;
  // The limit stops the plan right after it has computed metre kPlanMetreLimit.
  plan.append_through(limited ? std::min<int64_t>(last_metre, kPlanMetreLimit) : last_metre,
                      [curvature](const PlanPoint& before, const PlanPoint& previous) {
                        const double dx = previous.x - before.x;
                        const double dy = previous.y - before.y;
                        return PlanPoint{previous.x + (dx + curvature * dy), previous.y + (dy - curvature * dx)};
                      });
  return !(limited && plan.computed_end() > kPlanMetreLimit);
}

}  // namespace scenario
