#pragma once

#include <string>
#include <vector>

#include "reading/compiled_scenario.hpp"

namespace scenario {

// Slowdown rows on one order form; more slowdowns take further forms.
inline constexpr size_t kSlowdownsPerForm = 20;

// The slowdown order of a scenario, line by line in Windows-1252: one form per twenty
// slowdowns (one form when there are none), each row with the stations around the
// slowdown's start, the kilometre post passed just before it, its speed and its length.
std::vector<std::string> slowdown_order_lines(const LoadedScenario& scenario);

}  // namespace scenario
