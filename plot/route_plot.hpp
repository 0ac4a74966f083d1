#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "reading/compiled_scenario.hpp"

namespace scenario {

// What part of a route a picture shows, and along which axis.
struct PlotView {
  std::optional<int64_t> from_m;  // default: the start of the route
  std::optional<int64_t> to_m;    // default: the route length
  bool kilometre_axis = false;    // the readings of the driver's papers instead of route metres
};

// Why a window (--from, --to) holds nothing of the route, as the author is told it; none when
// it holds some. Only a window that holds some is drawn: the caller refuses any other.
std::optional<std::string> window_outside_route(const LoadedScenario& scenario, const PlotView& view);

// At most this many points of the line plan go into the plan view's path: a longer plan is
// thinned to every k-th computed point, the last one always kept.
inline constexpr size_t kMaxPlanPathPoints = 2000;

// One self-contained SVG document: the plan view on top, the profile along the route below,
// a key of the stations shown by number and the legend of the kinds of mark drawn. Every
// text stays on the page and clear of the others. Station labels in the plan carry their
// box (data-box="x y width height"), so that their placement can be checked against the
// track.
std::string render_route_svg(const LoadedScenario& scenario, const PlotView& view = {});

}  // namespace scenario
