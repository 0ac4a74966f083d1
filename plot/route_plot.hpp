#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/line_plan.hpp"
#include "model/sim_record.hpp"
#include "model/track_cell.hpp"

namespace scenario {

// What a picture of a route is drawn from: the contents of one scenario's compiled files.
struct RouteDrawing {
  std::string name;
  std::string number;
  std::vector<TrackCell> cells;
  std::array<SimRecord, kRecordCount> records{};
  LinePlan plan;  // may be undimensioned: the plan view then says so
};

// At most this many points of the line plan go into the plan view's path: a longer plan is
// thinned to every k-th computed point, the last one always kept.
inline constexpr size_t kMaxPlanPathPoints = 2000;

// One self-contained SVG document: the plan view on top, the profile along the route below.
std::string render_route_svg(const RouteDrawing& drawing);

}  // namespace scenario
