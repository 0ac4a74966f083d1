#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "model/line_plan.hpp"

namespace scenario {

// The plan is computed metre by metre up to this metre at most while curves are read.
inline constexpr int32_t kPlanMetreLimit = 1000000;

// The curvature per metre that each digit of a curve keyword stands for, in the order the
// digits are tested.
inline constexpr std::array<std::pair<char, double>, 6> kCurveCurvatures = {{
    {'1', 0.0001},
    {'2', 0.0002},
    {'3', 0.0004},
    {'4', 0.001},
    {'5', 0.002},
    {'6', 0.003},
}};

// Curvature per metre of a curve keyword: the first of the digits 1 to 6 (tested in that
// order) that the keyword holds picks it, and an "s" in any case makes it a left-hand
// (negative) curve. No digit: no curvature.
std::optional<double> curvature_of(std::string_view keyword);

// Extends the plan from its first uncomputed metre through `last_metre`, each new step
// being the previous one turned by `curvature` (0 runs straight); the step is not brought
// back to unit length. With `limited`, returns false as soon as the plan has passed
// kPlanMetreLimit. A metre past the plan's extent is a RuntimeFailure.
bool extend_plan_through(LinePlan& plan, int64_t last_metre, double curvature, bool limited);

}  // namespace scenario
