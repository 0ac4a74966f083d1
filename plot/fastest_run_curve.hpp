#pragma once

#include <functional>

#include "plot/svg_canvas.hpp"
#include "reading/compiled_scenario.hpp"

namespace scenario {

// The fastest run's speed over the line-speed steps of the profile, between `from_m` and
// `to_m`, and at every stop a dot whose title gives its timetable and earliest time.
// `x_of` places a route position, `y_of` a speed in km/h.
void draw_fastest_run(SvgCanvas& svg, const LoadedScenario& scenario, double from_m, double to_m,
                      const std::function<double(double)>& x_of, const std::function<double(double)>& y_of);

}  // namespace scenario
