#include "plot/fastest_run_curve.hpp"

#include "model/windows_1252.hpp"
#include "plot/marks.hpp"
#include "plot/svg_text.hpp"
#include "timing/running_times.hpp"

namespace scenario {
namespace {

constexpr double kKmhPerMps = 3.6;
// The curve's points closer than this on the page add nothing to the picture.
constexpr double kLeastStep_px = 0.5;

}  // namespace

void draw_fastest_run(SvgCanvas& svg, const LoadedScenario& scenario, double from_m, double to_m,
                      const std::function<double(double)>& x_of, const std::function<double(double)>& y_of) {
  const RunningTimes times = running_times(scenario.cells, scenario.records, {}, true);
  if (times.curve.empty()) return;
  std::string d;
  double last_x = -1e9;
  for (const CurvePoint& point : times.curve) {
    if (point.position_m < from_m || point.position_m > to_m) continue;
    const double x = x_of(point.position_m);
    if (!d.empty() && x - last_x < kLeastStep_px) continue;
    d += (d.empty() ? "M" : " L") + svg_number(x) + " " + svg_number(y_of(point.speed_mps * kKmhPerMps));
    last_x = x;
  }
  if (!d.empty()) svg.path(svg.marked(Mark::kFastestRun), d, "fastest run the limits allow");
  for (const StationTiming& station : times.stations) {
    const auto position = static_cast<double>(station.position_m);
    if (!station.scheduled_s || !station.earliest_s || position < from_m || position > to_m) continue;
    std::string title = xml_text(station.name) + ": timetable " + timetable_text(*station.scheduled_s) + ", earliest " +
                        earliest_text(*station.earliest_s);
    if (station.with_margin_s) title += ", with the margin " + earliest_text(*station.with_margin_s);
    svg.circle(x_of(position), y_of(0), 3, svg.marked(Mark::kFastestRun), title);
  }
}

}  // namespace scenario
