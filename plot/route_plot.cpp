#include "plot/route_plot.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "format/line_plan_points.hpp"
#include "plot/cell_marks.hpp"
#include "plot/fastest_run_curve.hpp"
#include "plot/marks.hpp"
#include "plot/plan_trace.hpp"
#include "plot/row_labels.hpp"
#include "plot/station_key.hpp"
#include "plot/svg_canvas.hpp"
#include "plot/svg_text.hpp"
#include "plot/text_metrics.hpp"
#include "model/format_rules.hpp"
#include "reading/kilometre_readings.hpp"
#include "reading/track_reading.hpp"

namespace scenario {
namespace {

// Page layout, in SVG user units. The page grows below the axis by the lines of the
// station key.
constexpr double kWidth = 1200;
constexpr double kLeft = 70;
constexpr double kRight = 1150;
constexpr double kPlotWidth = kRight - kLeft;
constexpr double kPlanTop = 70;
constexpr double kPlanBottom = 590;
constexpr double kSpeedTop = 700;
constexpr double kSpeedBottom = 900;
constexpr double kGradientTop = 930;
constexpr double kGradientBottom = 1030;
constexpr double kCurveTop = 1040;
constexpr double kCurveBottom = 1070;
constexpr double kAxisY = 1085;
constexpr double kLabelHeight = 12;
constexpr double kLabelGap = 2;    // between a label and the mark it names
constexpr double kSmallText = 10;  // the profile's labels
// Station names over the speed band, and indicator-board texts under it, in rows.
constexpr double kStationRowsBaseline = kSpeedTop - 56;
constexpr int kStationRows = 4;
constexpr double kBoardRowsBaseline = kSpeedBottom + 13;
constexpr int kBoardRows = 2;
constexpr double kSlowdownBaseline = kSpeedTop - 4;
constexpr double kLongestBoardLabel = 200;  // a longer board text is cut short; its <title> holds it all
constexpr double kLongestLeader = 240;      // how far a station's name may stand off its line

// A "nice" step (1, 2 or 5 times a power of ten) of at most `limit`.
double nice_step_at_most(double limit) {
  if (!(limit > 0)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(limit)));
  for (double factor : {5.0, 2.0, 1.0})
    if (factor * power <= limit) return factor * power;
  return power;
}

// What pointing at a station's mark shows: its number, as the key gives it, and its name.
std::string station_title(const Station& station) {
  return std::to_string(station.slot) + " " + xml_text(station.record->text);
}

// The part of the route drawn, in route metres.
struct Window {
  int64_t from_m = 0;
  int64_t to_m = 1;
  double at(double metre) const {
    return kLeft + std::clamp((metre - static_cast<double>(from_m)) / static_cast<double>(to_m - from_m), 0.0, 1.0) *
                       kPlotWidth;
  }
  bool holds(int64_t metre) const { return metre >= from_m && metre <= to_m; }
};

// The route's length as drawn: its records', or its cells' when the records give none.
int64_t drawn_length_m(const LoadedScenario& s) {
  const int64_t length = route_length_m(s.records);
  return length > 0 ? length : std::max<int64_t>(static_cast<int64_t>(s.cells.size()) - 1, 1) * kCellLength_m;
}

Window window_of(const LoadedScenario& s, const PlotView& view) {
  // A window outside the route would draw a cell of the route's edge as if it were asked for.
  if (const auto why = window_outside_route(s, view)) throw std::invalid_argument(*why);
  const int64_t length = drawn_length_m(s);
  Window w;
  w.from_m = std::clamp<int64_t>(view.from_m.value_or(0), 0, length);
  w.to_m = std::clamp<int64_t>(view.to_m.value_or(length), 0, length);
  if (w.to_m <= w.from_m) w.to_m = w.from_m + kCellLength_m;
  return w;
}

// The cells whose metres lie in the window, clipped to the cells that exist.
std::pair<int64_t, int64_t> cells_in(const Window& w, const LoadedScenario& s) {
  const int64_t last = std::min<int64_t>((w.to_m - 1) / kCellLength_m, static_cast<int64_t>(s.cells.size()) - 1);
  return {w.from_m / kCellLength_m, last};
}

// ---- plan view

struct PlanStation {
  const Station* station;
  double x, y;
};

// The metres whose place in the plan is wanted: signals and stations in the window.
std::vector<int64_t> placed_metres(const LoadedScenario& s, const Window& w, const std::vector<Station>& stations) {
  std::vector<int64_t> metres;
  const auto [first_cell, last_cell] = cells_in(w, s);
  for (int64_t i = std::max<int64_t>(first_cell, 0); i <= last_cell; ++i)
    if (s.cells[static_cast<size_t>(i)].kind == kSignal) metres.push_back(feature_position_m(kSignal, i));
  for (const Station& station : stations)
    if (w.holds(station.record->position_m)) metres.push_back(station.record->position_m);
  return metres;
}

// The plan fitted into its panel: equal scale on both axes, the plan's middle at the panel's.
struct PlanScreen {
  static constexpr double kInnerWidth = kPlotWidth - 240;
  static constexpr double kInnerHeight = kPlanBottom - kPlanTop - 120;

  explicit PlanScreen(const PlanTrace& plan)
      // A straight track has no width, so spans are at least 1 m.
      : scale(std::min(kInnerWidth / std::max(plan.max_x - plan.min_x, 1.0),
                       kInnerHeight / std::max(plan.max_y - plan.min_y, 1.0))),
        mid_x((plan.min_x + plan.max_x) / 2),
        mid_y((plan.min_y + plan.max_y) / 2) {}

  std::pair<double, double> at(const PlanPoint& p) const {
    return {kCentreX + (p.x - mid_x) * scale, kCentreY - (p.y - mid_y) * scale};
  }

  double scale, mid_x, mid_y;

 private:
  static constexpr double kCentreX = kLeft + kPlotWidth / 2;
  static constexpr double kCentreY = (kPlanTop + kPlanBottom) / 2 - 10;
};

// The track's path on the page, drawn; its points are returned for the labels to keep clear of.
std::vector<std::pair<double, double>> draw_track(SvgCanvas& svg, const PlanTrace& plan, const PlanScreen& screen) {
  std::vector<std::pair<double, double>> path;
  for (const PlanPoint& p : plan.path) path.push_back(screen.at(p));
  const std::pair<double, double> last = screen.at(plan.last);
  if (path.back() != last) path.push_back(last);
  std::string d;
  for (const auto& [x, y] : path) d += (d.empty() ? "M" : " L") + svg_number(x) + " " + svg_number(y);
  svg.path(svg.marked(Mark::kTrack), d);
  return path;
}

// A scale bar of about a fifth of the panel, bottom left.
void draw_scale_bar(SvgCanvas& svg, double scale) {
  const double bar_m = nice_step_at_most(PlanScreen::kInnerWidth / 5 / scale);
  const double bar_px = bar_m * scale;
  const double bar_y = kPlanBottom - 20;
  svg.line(kLeft + 20, bar_y, kLeft + 20 + bar_px, bar_y, "class=\"scale-bar\" stroke=\"black\" stroke-width=\"3\"");
  svg.text(kLeft + 20, bar_y - 6, svg_number(bar_m / 1000) + " km");
}

// Places the labels of the plan's stations where they cross nothing: no mark, no other
// label, not the track.
class PlanLabels {
 public:
  PlanLabels(SvgCanvas& svg, const std::vector<std::pair<double, double>>& path) : svg_(svg), path_(path) {}

  // A mark's box, kept clear of.
  void take(const Box& box) { taken_.push_back(box); }

  // A label to a side of its station, nearest first, with a leader line when it stands off.
  bool place(const PlanStation& ps, const std::string& label) {
    const double width = text_advance(label, TextStyle{}.size) + 2 * kLabelGap;
    for (const double r : {8.0, 22.0, 40.0, 65.0, 95.0, 130.0}) {
      for (int k = 0; k < 16; ++k) {
        const double angle = k * 3.14159265358979 / 8;
        const double ax = ps.x + r * std::cos(angle), ay = ps.y - r * std::sin(angle);
        const bool right = std::cos(angle) >= -1e-9;
        const Box box{right ? ax : ax - width, ay - kLabelHeight / 2, width, kLabelHeight};
        if (!free_of_everything(box)) continue;
        const double end_x = right ? box.x : box.x + box.w;
        if (r > 8.0 && !svg_.leader_fits(ps.x, ps.y, end_x, ay)) continue;
        if (r > 8.0) svg_.leader(ps.x, ps.y, end_x, ay);
        const std::string data_box = "class=\"station-label\" data-box=\"" + svg_number(box.x) + " " +
                                     svg_number(box.y) + " " + svg_number(box.w) + " " + svg_number(box.h) + "\"";
        svg_.text(box.x + kLabelGap, box.y + kLabelHeight - 2, label, {.attributes = data_box});
        taken_.push_back(box);
        return true;
      }
    }
    return false;
  }

 private:
  bool free_of_everything(const Box& box) const {
    static constexpr Box kPanel{kLeft + 2, kPlanTop + 2, kPlotWidth - 4, kPlanBottom - kPlanTop - 30};
    if (!box.within(kPanel) || !svg_.fits(box)) return false;
    for (const Box& other : taken_)
      if (box.overlaps(other)) return false;
    for (size_t i = 1; i < path_.size(); ++i)
      if (box.crossed_by(path_[i - 1].first, path_[i - 1].second, path_[i].first, path_[i].second)) return false;
    return true;
  }

  SvgCanvas& svg_;
  const std::vector<std::pair<double, double>>& path_;
  std::vector<Box> taken_;  // signals, station marks and labels
};

void draw_plan_view(SvgCanvas& svg, const LoadedScenario& s, const Window& w, const std::vector<Station>& stations,
                    const PlanTrace& measure, StationKey& key) {
  svg.text(kLeft, kPlanTop - 14, "Plan", {.size = 14, .bold = true});
  svg.rect(kLeft, kPlanTop, kPlotWidth, kPlanBottom - kPlanTop, "class=\"frame\" fill=\"none\" stroke=\"#ccc\"");
  if (measure.points < 2) {
    svg.text(kLeft + kPlotWidth / 2, (kPlanTop + kPlanBottom) / 2,
             s.has_plan ? "no line plan computed for this stretch" : "no line plan in this scenario",
             {.anchor = TextAnchor::kMiddle, .attributes = "fill=\"#888\""});
    return;
  }
  const PlanScreen screen(measure);
  // A metre the plan does not reach is placed at the page's corner.
  std::map<int64_t, std::pair<double, double>> wanted;
  for (const auto& [metre, place] : measure.places) wanted[metre] = place ? screen.at(*place) : std::pair<double, double>{};

  const std::vector<std::pair<double, double>> path = draw_track(svg, measure, screen);
  // Drawn before the labels, so that no label takes its place.
  draw_scale_bar(svg, screen.scale);

  PlanLabels labels(svg, path);
  const auto [first_cell, last_cell] = cells_in(w, s);
  for (int64_t i = std::max<int64_t>(first_cell, 0); i <= last_cell; ++i)
    if (s.cells[static_cast<size_t>(i)].kind == kSignal) {
      const auto [x, y] = wanted[feature_position_m(kSignal, i)];
      svg.circle(x, y, 2, svg.marked(Mark::kSignal));
      labels.take({x - 2, y - 2, 4, 4});
    }
  std::vector<PlanStation> shown;
  for (const Station& station : stations)
    if (w.holds(station.record->position_m)) {
      const auto [x, y] = wanted[station.record->position_m];
      shown.push_back({&station, x, y});
      labels.take({x - 4, y - 4, 8, 8});
    }
  // A station whose name finds no free place is labelled by its number, and named in the key.
  for (const PlanStation& ps : shown) {
    svg.circle(ps.x, ps.y, 4, svg.marked(Mark::kStation), station_title(*ps.station));
    if (labels.place(ps, xml_text(ps.station->record->text))) continue;
    labels.place(ps, std::to_string(ps.station->slot));
    key.add(*ps.station);
  }
}

// ---- profile

void draw_curves(SvgCanvas& svg, const PlanTrace& plan, const Window& w) {
  const double mid = (kCurveTop + kCurveBottom) / 2;
  for (const TurningRun& run : plan.turnings) {
    if (run.text == "straight") continue;
    const double height = std::min(std::abs(run.turning) / 0.003, 1.0) * (kCurveBottom - kCurveTop) / 2 + 3;
    const double x1 = w.at(static_cast<double>(run.from_m)), x2 = std::max(w.at(static_cast<double>(run.to_m)), x1 + 1);
    svg.rect(x1, run.turning > 0 ? mid - height : mid, x2 - x1, height, svg.marked(Mark::kCurve), run.text);
  }
}

void draw_axis(SvgCanvas& svg, const LoadedScenario& s, const Window& w, bool kilometres) {
  const double span = static_cast<double>(w.to_m - w.from_m);
  const double tick_m = std::max(nice_step_at_most(span / 8), 1.0);
  svg.line(kLeft, kAxisY, kRight, kAxisY, "class=\"axis\" stroke=\"black\"");
  // A tick with its label, the label left out where it would touch another.
  auto tick = [&](double x, const std::string& label) {
    svg.line(x, kAxisY, x, kAxisY + 5, "class=\"axis\" stroke=\"black\"");
    const TextStyle style{.anchor = TextAnchor::kMiddle};
    if (svg.fits(text_box(x, kAxisY + 18, label, style.size, style.bold, style.anchor)))
      svg.text(x, kAxisY + 18, label, style);
  };
  if (!kilometres) {
    for (double m = std::ceil(static_cast<double>(w.from_m) / tick_m) * tick_m; m <= static_cast<double>(w.to_m); m += tick_m)
      tick(w.at(m), svg_number(m / 1000) + " km");
    return;
  }
  // The readings of the driver's papers: round readings within each stretch, and each
  // change marked with its new reading.
  const KilometreReadings km(s.records);
  std::vector<int64_t> starts{w.from_m};
  for (const KilometrePostChange& change : km.changes())
    if (change.position_m > w.from_m && change.position_m < w.to_m) starts.push_back(change.position_m);
  const auto step = static_cast<int64_t>(tick_m);
  for (size_t i = 0; i < starts.size(); ++i) {
    const int64_t a = starts[i], b = i + 1 < starts.size() ? starts[i + 1] : w.to_m;
    const int64_t ra = km.reading_m(a);
    const int64_t direction = b > a && km.reading_m(b - 1) < ra ? -1 : 1;
    if (i > 0) {
      const double x = w.at(static_cast<double>(a));
      const std::string reading = kilometre_text(ra);
      svg.line(x, kAxisY - 6, x, kAxisY + 8, svg.marked(Mark::kKilometrePostChange),
               "kilometre reading " + reading + " from here");
      const TextStyle style{.anchor = TextAnchor::kMiddle, .attributes = "fill=\"#c0392b\""};
      if (svg.fits(text_box(x, kAxisY + 32, reading, style.size, style.bold, style.anchor)))
        svg.text(x, kAxisY + 32, reading, style);
    }
    // The first round reading at or after `a` in the stretch's direction.
    int64_t k = direction > 0 ? (ra >= 0 ? (ra + step - 1) / step * step : -(-ra / step) * step)
                              : (ra >= 0 ? ra / step * step : -((-ra + step - 1) / step) * step);
    for (;; k += direction * step) {
      const int64_t position = a + (k - ra) * direction;
      if (position >= b || position > w.to_m) break;
      if (i > 0 && position - a < step / 4) continue;  // leaves room for the change's own label
      tick(w.at(static_cast<double>(position)), svg_number(static_cast<double>(k) / 1000));
    }
  }
}

// The profile's bands over the cells of the window, with the scales of speed and gradient
// that the cells call for.
struct ProfileBands {
  ProfileBands(const LoadedScenario& scenario, const Window& window) : s(scenario), w(window) {
    // Plain variables, not a structured binding: older compilers cannot capture those in a lambda.
    const std::pair<int64_t, int64_t> cell_range = cells_in(w, s);
    first_cell = cell_range.first;
    last_cell = cell_range.second;
    int max_speed = 20;
    each_cell([&](int64_t, const TrackCell& c) { max_speed = std::max(max_speed, static_cast<int>(speed_kmh(c.speed_limit))); });
    speed_top = std::ceil(max_speed / 20.0) * 20;
    each_cell([&](int64_t, const TrackCell& c) {
      if (c.gradient != 0) max_gradient = std::max(max_gradient, static_cast<int>(std::abs(gradient_per_mille(c.gradient))));
    });
  }

  template <typename Visit>
  void each_cell(Visit&& visit) const {
    for (int64_t i = std::max<int64_t>(first_cell, 0); i <= last_cell; ++i) visit(i, s.cells[static_cast<size_t>(i)]);
  }
  double cell_start(int64_t i) const { return w.at(static_cast<double>(i * kCellLength_m)); }
  double speed_y(double kmh) const { return kSpeedBottom - kmh / speed_top * (kSpeedBottom - kSpeedTop); }
  // Per mille around the band's middle line.
  static constexpr double kGradientMid = (kGradientTop + kGradientBottom) / 2;
  double gradient_y(int g) const {
    return kGradientMid - g / static_cast<double>(max_gradient) * (kGradientBottom - kGradientTop) / 2;
  }

  const LoadedScenario& s;
  const Window& w;
  int64_t first_cell = 0, last_cell = 0;
  double speed_top = 0;
  int max_gradient = 5;
};

// The bands' frames, grid lines and scales, and the profile's heading.
void draw_profile_frames(SvgCanvas& svg, const ProfileBands& bands, bool kilometre_axis) {
  const TextStyle right_aligned{.anchor = TextAnchor::kEnd};
  // The fixed texts first, so that the labels placed after them keep clear of them.
  svg.text(kLeft, kSpeedTop - 72, "Profile", {.size = 14, .bold = true});
  svg.text(kLeft + 80, kSpeedTop - 72,
           kilometre_axis ? "along the route, in the kilometre readings of the driver's papers"
                          : "along the route, in kilometres from its start",
           {.attributes = "fill=\"#555\""});

  svg.rect(kLeft, kSpeedTop, kPlotWidth, kSpeedBottom - kSpeedTop, "class=\"frame\" fill=\"none\" stroke=\"#ccc\"");
  for (double v = 0; v <= bands.speed_top; v += bands.speed_top / 4) {
    svg.line(kLeft, bands.speed_y(v), kRight, bands.speed_y(v), "class=\"grid\" stroke=\"#eee\"");
    svg.text(kLeft - 6, bands.speed_y(v) + 4, svg_number(v), right_aligned);
  }
  svg.text(kLeft - 50, kSpeedTop - 8, "km/h");

  const double mid = ProfileBands::kGradientMid;
  svg.rect(kLeft, kGradientTop, kPlotWidth, kGradientBottom - kGradientTop, "class=\"frame\" fill=\"none\" stroke=\"#ccc\"");
  svg.line(kLeft, mid, kRight, mid, "class=\"grid\" stroke=\"#bbb\"");
  svg.text(kLeft - 6, kGradientTop + 10, "+" + std::to_string(bands.max_gradient), right_aligned);
  svg.text(kLeft - 6, mid + 4, "0", right_aligned);
  svg.text(kLeft - 6, kGradientBottom, "-" + std::to_string(bands.max_gradient), right_aligned);
  svg.text(kLeft - 50, kGradientTop - 6, "gradient (per mille)");

  const double curve_mid = (kCurveTop + kCurveBottom) / 2;
  svg.rect(kLeft, kCurveTop, kPlotWidth, kCurveBottom - kCurveTop, "class=\"frame\" fill=\"none\" stroke=\"#ccc\"");
  svg.line(kLeft, curve_mid, kRight, curve_mid, "class=\"grid\" stroke=\"#ddd\"");
  svg.text(kLeft - 6, curve_mid + 4, "curves", right_aligned);
}

// Stations as vertical lines, their names staggered in rows over the speed band: first
// each name that fits beside its line, then the others led off to where there is room; a
// station whose name finds no place is labelled by its number, and named in the key. They
// come before the other labels, which keep clear of their leaders.
void draw_station_lines(SvgCanvas& svg, const Window& w, const std::vector<Station>& stations, StationKey& key) {
  RowLabeller station_labels(svg, {.first_baseline = kStationRowsBaseline,
                                   .rows = kStationRows,
                                   .leader_from_y = kSpeedTop,
                                   .style = {.size = kSmallText, .attributes = "class=\"station-name\""}});
  std::vector<std::pair<const Station*, double>> unnamed;
  for (const Station& station : stations) {
    if (!w.holds(station.record->position_m)) continue;
    const double x = w.at(station.record->position_m);
    svg.line(x, kSpeedTop, x, kCurveBottom, svg.marked(Mark::kStation), station_title(station));
    if (!station_labels.place(x, xml_text(station.record->text))) unnamed.emplace_back(&station, x);
  }
  for (const auto& [station, x] : unnamed) {
    if (station_labels.place(x, xml_text(station->record->text), kLongestLeader)) continue;
    station_labels.place(x, std::to_string(station->slot), kLongestLeader);
    key.add(*station);
  }
}

// Slowdowns, shaded from their start to their end; one of no length over its one cell. The
// speed is written over the start where there is room, and always in the mark's title.
void draw_slowdowns(SvgCanvas& svg, const LoadedScenario& s, const Window& w) {
  RowLabeller slowdown_labels(svg, {.first_baseline = kSlowdownBaseline, .style = {.attributes = "fill=\"#b9770e\""}});
  for (const Slowdown& slowdown : slowdowns_of(s.cells)) {
    const int64_t start = feature_position_m(kSlowdownStart, slowdown.start_cell);
    const int64_t end = std::max(feature_position_m(kSlowdownEnd, slowdown.end_cell), start + kCellLength_m);
    if (end < w.from_m || start > w.to_m) continue;
    const double x1 = w.at(static_cast<double>(start)), x2 = std::max(w.at(static_cast<double>(end)), x1 + 2);
    const std::string speed = std::to_string(slowdown.speed_kmh) + " km/h";
    svg.rect(x1, kSpeedTop, x2 - x1, kSpeedBottom - kSpeedTop, svg.marked(Mark::kSlowdown),
             speed + " from " + std::to_string(start) + " m to " +
                 std::to_string(feature_position_m(kSlowdownEnd, slowdown.end_cell)) + " m");
    slowdown_labels.place(x1, speed);
  }
}

// Line speed as a step line over the route's cells, ending where the route ends.
void draw_line_speed(SvgCanvas& svg, const ProfileBands& bands) {
  const Window& w = bands.w;
  std::string speed;
  int previous = -1;
  bands.each_cell([&](int64_t i, const TrackCell& c) {
    const double y = bands.speed_y(static_cast<double>(speed_kmh(c.speed_limit)));
    if (speed.empty())
      speed = "M" + svg_number(w.at(static_cast<double>(w.from_m))) + " " + svg_number(y);
    else if (c.speed_limit != previous)
      speed += " H" + svg_number(bands.cell_start(i)) + " V" + svg_number(y);
    previous = c.speed_limit;
  });
  if (!speed.empty()) {
    speed += " H" + svg_number(w.at(static_cast<double>(w.to_m)));
    svg.path(svg.marked(Mark::kLineSpeed), speed);
  }
}

// Features along the track, each kind by its mark; board texts under the speed band.
void draw_track_features(SvgCanvas& svg, const ProfileBands& bands) {
  const LoadedScenario& s = bands.s;
  const Window& w = bands.w;
  RowLabeller board_labels(svg, {.first_baseline = kBoardRowsBaseline,
                                 .rows = kBoardRows,
                                 .style = {.size = kSmallText, .attributes = "class=\"board-label\" fill=\"#2980b9\""}});
  const auto speed_y = [&](double kmh) { return bands.speed_y(kmh); };
  const CellMarkBand band{svg, s.records, kSpeedTop, kSpeedBottom, speed_y, board_labels, kLongestBoardLabel, kSmallText};
  bands.each_cell([&](int64_t i, const TrackCell& c) {
    const int64_t at = feature_position_m(c.kind, i);
    if (w.holds(at)) draw_cell_mark(band, w.at(static_cast<double>(at)), c);
  });
}

// The gradient line, mountain stretches shaded behind it.
void draw_gradient(SvgCanvas& svg, const ProfileBands& bands) {
  const LoadedScenario& s = bands.s;
  const Window& w = bands.w;
  const int64_t first_cell = bands.first_cell, last_cell = bands.last_cell;
  for (const CellRun& run : runs_of(s.cells, &TrackCell::mountain, last_cell)) {
    if (run.value == 0 || run.last_cell < first_cell) continue;
    const double x1 = bands.cell_start(std::max(run.first_cell, first_cell));
    const double x2 = std::max(bands.cell_start(run.last_cell + 1), x1 + 2);
    svg.rect(x1, kGradientTop, x2 - x1, kGradientBottom - kGradientTop, svg.marked(Mark::kMountain));
  }
  std::string gradient;
  bands.each_cell([&](int64_t i, const TrackCell& c) {
    if (c.gradient == 0) return;
    const double y = bands.gradient_y(static_cast<int>(gradient_per_mille(c.gradient)));
    const bool after_gap = i == first_cell || s.cells[static_cast<size_t>(i - 1)].gradient == 0;
    if (gradient.empty() || after_gap)
      gradient += (gradient.empty() ? "M" : " M") +
                  svg_number(std::max(bands.cell_start(i), w.at(static_cast<double>(w.from_m)))) + " " + svg_number(y);
    else if (c.gradient != s.cells[static_cast<size_t>(i - 1)].gradient)
      gradient += " H" + svg_number(bands.cell_start(i)) + " V" + svg_number(y);
    if (i == last_cell || s.cells[static_cast<size_t>(i + 1)].gradient == 0)
      gradient += " H" + svg_number(std::min(bands.cell_start(i + 1), w.at(static_cast<double>(w.to_m))));
  });
  if (!gradient.empty()) svg.path(svg.marked(Mark::kGradient), gradient);
}

void draw_profile(SvgCanvas& svg, const LoadedScenario& s, const Window& w, const std::vector<Station>& stations,
                  const PlanTrace& plan, bool kilometre_axis, StationKey& key) {
  const ProfileBands bands(s, w);
  draw_profile_frames(svg, bands, kilometre_axis);
  draw_station_lines(svg, w, stations, key);
  draw_slowdowns(svg, s, w);
  draw_line_speed(svg, bands);
  draw_fastest_run(svg, s, static_cast<double>(w.from_m), static_cast<double>(w.to_m),
                   [&](double m) { return w.at(m); }, [&](double kmh) { return bands.speed_y(kmh); });
  draw_track_features(svg, bands);
  draw_gradient(svg, bands);
  draw_curves(svg, plan, w);
  draw_axis(svg, s, w, kilometre_axis);
}

// The legend of the kinds of mark drawn, in lines across the page from `baseline`.
void draw_legend(SvgCanvas& svg, double baseline) {
  const std::set<Mark> drawn = svg.marks_drawn();
  double x = kLeft;
  for (const MarkKind& kind : mark_kinds()) {
    if (!drawn.contains(kind.mark)) continue;
    const std::string label(kind.legend);
    const double width = 24 + text_advance(label, TextStyle{}.size);
    if (x > kLeft && x + width > kRight) x = kLeft, baseline += 22;
    svg.raw("<g class=\"legend\" data-mark=\"" + std::string(kind.css_class) + "\" transform=\"translate(" +
            svg_number(x) + "," + svg_number(baseline) + ")\">" + mark_swatch(kind.mark) + "</g>");
    svg.text(x + 24, baseline, label);
    x += width + 24;
  }
}

}  // namespace

std::optional<std::string> window_outside_route(const LoadedScenario& scenario, const PlotView& view) {
  const int64_t length = drawn_length_m(scenario);
  // One that begins at or past the route's end, or ends at its start.
  if (view.from_m.value_or(0) < length && view.to_m.value_or(length) > 0) return std::nullopt;
  return "metres " + std::to_string(view.from_m.value_or(0)) + " to " + std::to_string(view.to_m.value_or(length)) +
         " lie outside the route, which runs from 0 to " + std::to_string(length) + " m; nothing drawn";
}

std::string render_route_svg(const LoadedScenario& scenario, const PlotView& view) {
  SvgCanvas svg(kWidth);
  const Window w = window_of(scenario, view);
  const TextStyle title_style{.size = 20, .bold = true};
  std::string rest = " – train " + elided_xml(scenario.number, 200, title_style.size, true);
  if (view.from_m || view.to_m)
    rest += " – metres " + std::to_string(w.from_m) + " to " + std::to_string(w.to_m);
  const double room = kWidth - kLeft - 10 - text_advance(rest, title_style.size, true);
  svg.text(kLeft, 32, elided_xml(scenario.name, room, title_style.size, true) + rest, title_style);
  const KilometreReadings km(scenario.records);
  const std::vector<Station> stations = stations_of(scenario.cells, scenario.records, km);
  StationKey key;
  // The plan is read once, for the plan view and the curve band.
  const PlanTrace plan = trace_plan(scenario, w.from_m, w.to_m, placed_metres(scenario, w, stations), kMaxPlanPathPoints);
  draw_plan_view(svg, scenario, w, stations, plan, key);
  draw_profile(svg, scenario, w, stations, plan, view.kilometre_axis, key);
  const double below_axis = kAxisY + 56;
  draw_legend(svg, key.empty() ? below_axis : key.draw(svg, kLeft, kPlotWidth, below_axis) + 12);
  return svg.finish(std::ceil(svg.bottom() + 20));
}

}  // namespace scenario
