#include "plot/route_plot.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>
#include <vector>

#include "format/line_plan_points.hpp"
#include "plot/svg_text.hpp"
#include "reading/kilometre_readings.hpp"
#include "reading/track_reading.hpp"

namespace scenario {
namespace {

// Page layout, in SVG user units.
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
constexpr double kLegendY = 1135;
constexpr double kHeight = 1185;
constexpr double kCharWidth = 7;  // a generous average of the 11-unit sans-serif capitals
constexpr double kLabelHeight = 12;

// A "nice" step (1, 2 or 5 times a power of ten) of at most `limit`.
double nice_step_at_most(double limit) {
  if (!(limit > 0)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(limit)));
  for (double factor : {5.0, 2.0, 1.0})
    if (factor * power <= limit) return factor * power;
  return power;
}

class Svg {
 public:
  Svg() {
    out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + svg_number(kWidth) + "\" height=\"" +
            svg_number(kHeight) + "\" viewBox=\"0 0 " + svg_number(kWidth) + " " + svg_number(kHeight) +
            "\" font-family=\"sans-serif\" font-size=\"11\">\n";
    out_ += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  }

  void raw(std::string_view element) {
    out_ += element;
    out_ += '\n';
  }
  void line(double x1, double y1, double x2, double y2, std::string_view style) {
    raw("<line x1=\"" + svg_number(x1) + "\" y1=\"" + svg_number(y1) + "\" x2=\"" + svg_number(x2) + "\" y2=\"" +
        svg_number(y2) + "\" " + std::string(style) + "/>");
  }
  void rect(double x, double y, double w, double h, std::string_view style) {
    raw("<rect x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\" width=\"" + svg_number(std::max(w, 0.0)) +
        "\" height=\"" + svg_number(std::max(h, 0.0)) + "\" " + std::string(style) + "/>");
  }
  void circle(double x, double y, double r, std::string_view style) {
    raw("<circle cx=\"" + svg_number(x) + "\" cy=\"" + svg_number(y) + "\" r=\"" + svg_number(r) + "\" " +
        std::string(style) + "/>");
  }
  // `text` is already XML text.
  void text(double x, double y, std::string_view text, std::string_view style = "") {
    raw("<text x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\" " + std::string(style) + ">" +
        std::string(text) + "</text>");
  }
  std::string finish() {
    out_ += "</svg>\n";
    return std::move(out_);
  }

 private:
  std::string out_;
};

struct Box {
  double x, y, w, h;
  bool overlaps(const Box& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
  // Whether the segment from (x1, y1) to (x2, y2) enters the box (Liang-Barsky clipping).
  bool crossed_by(double x1, double y1, double x2, double y2) const {
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - x, x + w - x1, y1 - y, y + h - y1};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return false;
        continue;
      }
      const double t = q[i] / p[i];
      if (p[i] < 0) t0 = std::max(t0, t);
      else t1 = std::min(t1, t);
      if (t0 > t1) return false;
    }
    return true;
  }
};

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

Window window_of(const LoadedScenario& s, const PlotView& view) {
  int64_t length = route_length_m(s.records);
  if (length <= 0) length = std::max<int64_t>(static_cast<int64_t>(s.cells.size()) - 1, 1) * kCellLength_m;
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

struct PlanPass {
  int64_t points = 0;  // computed points in the window
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
};

PlanPass measure_plan(const LoadedScenario& s, const Window& w) {
  PlanPass pass;
  if (!s.has_plan) return pass;
  LinePlanPoints points(s.plan_bytes);
  PlanPoint p;
  while (points.next(p)) {
    if (!w.holds(points.metre())) continue;
    if (pass.points == 0) pass.min_x = pass.max_x = p.x, pass.min_y = pass.max_y = p.y;
    pass.min_x = std::min(pass.min_x, p.x), pass.max_x = std::max(pass.max_x, p.x);
    pass.min_y = std::min(pass.min_y, p.y), pass.max_y = std::max(pass.max_y, p.y);
    ++pass.points;
  }
  return pass;
}

struct PlanStation {
  const Station* station;
  double x, y;
};

void draw_plan_view(Svg& svg, const LoadedScenario& s, const Window& w, const std::vector<Station>& stations) {
  svg.text(kLeft, kPlanTop - 14, "Plan", "font-size=\"14\" font-weight=\"bold\"");
  svg.rect(kLeft, kPlanTop, kPlotWidth, kPlanBottom - kPlanTop, "fill=\"none\" stroke=\"#ccc\"");
  const PlanPass measure = measure_plan(s, w);
  if (measure.points < 2) {
    svg.text(kLeft + kPlotWidth / 2, (kPlanTop + kPlanBottom) / 2,
             s.has_plan ? "no line plan computed for this stretch" : "no line plan in this scenario",
             "text-anchor=\"middle\" fill=\"#888\"");
    return;
  }
  const double inner_w = kPlotWidth - 240, inner_h = kPlanBottom - kPlanTop - 120;
  // Equal scale on both axes; a straight track has no width, so spans are at least 1 m.
  const double scale = std::min(inner_w / std::max(measure.max_x - measure.min_x, 1.0),
                                inner_h / std::max(measure.max_y - measure.min_y, 1.0));
  const double mid_x = (measure.min_x + measure.max_x) / 2, mid_y = (measure.min_y + measure.max_y) / 2;
  const double centre_x = kLeft + kPlotWidth / 2, centre_y = (kPlanTop + kPlanBottom) / 2 - 10;
  auto screen = [&](const PlanPoint& p) {
    return std::pair{centre_x + (p.x - mid_x) * scale, centre_y - (p.y - mid_y) * scale};
  };

  // The metres whose place is wanted: signals and stations in the window.
  std::map<int64_t, std::pair<double, double>> wanted;
  const auto [first_cell, last_cell] = cells_in(w, s);
  for (int64_t i = std::max<int64_t>(first_cell, 0); i <= last_cell; ++i)
    if (s.cells[static_cast<size_t>(i)].kind == kSignal) wanted[feature_position_m(kSignal, i)];
  for (const Station& station : stations)
    if (w.holds(station.record->position_m)) wanted[station.record->position_m];

  const auto step = static_cast<int64_t>((static_cast<size_t>(measure.points) + kMaxPlanPathPoints - 1) /
                                         kMaxPlanPathPoints);
  std::vector<std::pair<double, double>> path;
  int64_t seen = 0;
  std::pair<double, double> last{};
  LinePlanPoints points(s.plan_bytes);
  PlanPoint p;
  while (points.next(p)) {
    const int64_t metre = points.metre();
    if (!w.holds(metre)) continue;
    last = screen(p);
    if (seen++ % step == 0) path.push_back(last);
    if (const auto found = wanted.find(metre); found != wanted.end()) found->second = last;
  }
  if (path.back() != last) path.push_back(last);
  std::string d;
  for (const auto& [x, y] : path) d += (d.empty() ? "M" : " L") + svg_number(x) + " " + svg_number(y);
  svg.raw("<path class=\"track\" d=\"" + d + "\" fill=\"none\" stroke=\"#1f4e9c\" stroke-width=\"2\"/>");

  std::vector<Box> taken;  // signals, station marks and labels
  for (int64_t i = std::max<int64_t>(first_cell, 0); i <= last_cell; ++i)
    if (s.cells[static_cast<size_t>(i)].kind == kSignal) {
      const auto [x, y] = wanted[feature_position_m(kSignal, i)];
      svg.circle(x, y, 2, "fill=\"#c0392b\"");
      taken.push_back({x - 2, y - 2, 4, 4});
    }
  std::vector<PlanStation> shown;
  for (const Station& station : stations)
    if (w.holds(station.record->position_m)) {
      const auto [x, y] = wanted[station.record->position_m];
      shown.push_back({&station, x, y});
      taken.push_back({x - 4, y - 4, 8, 8});
    }
  const Box panel{kLeft + 2, kPlanTop + 2, kPlotWidth - 4, kPlanBottom - kPlanTop - 30};
  auto free_of_everything = [&](const Box& box) {
    if (box.x < panel.x || box.y < panel.y || box.x + box.w > panel.x + panel.w || box.y + box.h > panel.y + panel.h)
      return false;
    for (const Box& other : taken)
      if (box.overlaps(other)) return false;
    for (size_t i = 1; i < path.size(); ++i)
      if (box.crossed_by(path[i - 1].first, path[i - 1].second, path[i].first, path[i].second)) return false;
    return true;
  };
  // Each name to a side of its station, nearest first, with a leader line when it stands off;
  // a name with no free place is listed under the plan instead.
  std::vector<std::string> unplaced;
  for (const PlanStation& ps : shown) {
    svg.circle(ps.x, ps.y, 4, "fill=\"white\" stroke=\"black\"");
    const std::string label = xml_text(ps.station->record->text);
    const double width = static_cast<double>(ps.station->record->text.size()) * kCharWidth + 4;
    bool placed = false;
    for (const double r : {8.0, 22.0, 40.0, 65.0, 95.0, 130.0}) {
      for (int k = 0; k < 16 && !placed; ++k) {
        const double angle = k * 3.14159265358979 / 8;
        const double ax = ps.x + r * std::cos(angle), ay = ps.y - r * std::sin(angle);
        const bool right = std::cos(angle) >= -1e-9;
        const Box box{right ? ax : ax - width, ay - kLabelHeight / 2, width, kLabelHeight};
        if (!free_of_everything(box)) continue;
        if (r > 8.0) svg.line(ps.x, ps.y, right ? box.x : box.x + box.w, ay, "stroke=\"#888\" stroke-width=\"0.7\"");
        svg.raw("<text class=\"station-label\" data-box=\"" + svg_number(box.x) + " " + svg_number(box.y) + " " +
                svg_number(box.w) + " " + svg_number(box.h) + "\" x=\"" + svg_number(box.x + 2) + "\" y=\"" +
                svg_number(box.y + kLabelHeight - 2) + "\">" + label + "</text>");
        taken.push_back(box);
        placed = true;
      }
      if (placed) break;
    }
    if (!placed) unplaced.push_back(std::to_string(ps.station->slot) + " " + label);
  }
  if (!unplaced.empty()) {
    std::string list;
    for (const std::string& name : unplaced) list += (list.empty() ? "" : ", ") + name;
    svg.text(kLeft + 200, kPlanBottom - 8, "also in this stretch: " + list, "class=\"unlabelled\" fill=\"#555\"");
  }

  // Scale bar, about a fifth of the panel, bottom left.
  const double bar_m = nice_step_at_most(inner_w / 5 / scale);
  const double bar_px = bar_m * scale;
  const double bar_y = kPlanBottom - 20;
  svg.line(kLeft + 20, bar_y, kLeft + 20 + bar_px, bar_y, "stroke=\"black\" stroke-width=\"3\"");
  svg.text(kLeft + 20, bar_y - 6, svg_number(bar_m / 1000) + " km");
}

// ---- profile

void draw_curves(Svg& svg, const LoadedScenario& s, const Window& w) {
  svg.rect(kLeft, kCurveTop, kPlotWidth, kCurveBottom - kCurveTop, "fill=\"none\" stroke=\"#ccc\"");
  const double mid = (kCurveTop + kCurveBottom) / 2;
  svg.line(kLeft, mid, kRight, mid, "stroke=\"#ddd\"");
  svg.text(kLeft - 6, mid + 4, "curves", "text-anchor=\"end\"");
  if (!s.has_plan) return;
  LinePlanPoints points(s.plan_bytes);
  PlanPoint history[3];
  int64_t run_start = -1;
  std::string run_text;
  double run_turning = 0;
  auto close = [&](int64_t end) {
    if (run_start >= 0 && run_text != "straight") {
      const double height = std::min(std::abs(run_turning) / 0.003, 1.0) * (kCurveBottom - kCurveTop) / 2 + 3;
      const double x1 = w.at(static_cast<double>(run_start)), x2 = std::max(w.at(static_cast<double>(end)), x1 + 1);
      svg.raw("<rect class=\"curve\" x=\"" + svg_number(x1) + "\" y=\"" + svg_number(run_turning > 0 ? mid - height : mid) +
              "\" width=\"" + svg_number(x2 - x1) + "\" height=\"" + svg_number(height) + "\" fill=\"#16a085\"><title>" +
              run_text + "</title></rect>");
    }
    run_start = -1;
  };
  PlanPoint p;
  while (points.next(p)) {
    history[0] = history[1], history[1] = history[2], history[2] = p;
    const int64_t metre = points.metre();
    if (metre < 2 || !w.holds(metre)) continue;
    const double k = plan_turning(history[0], history[1], history[2]);
    const std::string text = turning_text(k);
    if (run_start >= 0 && text == run_text) continue;
    close(metre);
    run_start = metre, run_text = text, run_turning = k;
  }
  close(w.to_m);
}

void draw_axis(Svg& svg, const LoadedScenario& s, const Window& w, bool kilometres) {
  const double span = static_cast<double>(w.to_m - w.from_m);
  const double tick_m = std::max(nice_step_at_most(span / 8), 1.0);
  svg.line(kLeft, kAxisY, kRight, kAxisY, "stroke=\"black\"");
  if (!kilometres) {
    for (double m = std::ceil(static_cast<double>(w.from_m) / tick_m) * tick_m; m <= static_cast<double>(w.to_m); m += tick_m) {
      svg.line(w.at(m), kAxisY, w.at(m), kAxisY + 5, "stroke=\"black\"");
      svg.text(w.at(m), kAxisY + 18, svg_number(m / 1000) + " km", "text-anchor=\"middle\"");
    }
    svg.text(kLeft + 80, kSpeedTop - 60, "along the route, in kilometres from its start", "fill=\"#555\"");
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
      svg.line(w.at(static_cast<double>(a)), kAxisY - 6, w.at(static_cast<double>(a)), kAxisY + 8,
               "stroke=\"#c0392b\" stroke-width=\"2\"");
      svg.text(w.at(static_cast<double>(a)), kAxisY + 32, kilometre_text(ra), "text-anchor=\"middle\" fill=\"#c0392b\"");
    }
    // The first round reading at or after `a` in the stretch's direction.
    int64_t k = direction > 0 ? (ra >= 0 ? (ra + step - 1) / step * step : -(-ra / step) * step)
                              : (ra >= 0 ? ra / step * step : -((-ra + step - 1) / step) * step);
    for (;; k += direction * step) {
      const int64_t position = a + (k - ra) * direction;
      if (position >= b || position > w.to_m) break;
      if (i > 0 && position - a < step / 4) continue;  // leaves room for the change's own label
      svg.line(w.at(static_cast<double>(position)), kAxisY, w.at(static_cast<double>(position)), kAxisY + 5,
               "stroke=\"black\"");
      svg.text(w.at(static_cast<double>(position)), kAxisY + 18, svg_number(static_cast<double>(k) / 1000),
               "text-anchor=\"middle\"");
    }
  }
  svg.text(kLeft + 80, kSpeedTop - 60, "along the route, in the kilometre readings of the driver's papers", "fill=\"#555\"");
}

void draw_profile(Svg& svg, const LoadedScenario& s, const Window& w, const std::vector<Station>& stations,
                  bool kilometre_axis) {
  svg.text(kLeft, kSpeedTop - 60, "Profile", "font-size=\"14\" font-weight=\"bold\"");
  // Plain variables, not a structured binding: older compilers cannot capture those in a lambda.
  const std::pair<int64_t, int64_t> cell_range = cells_in(w, s);
  const int64_t first_cell = cell_range.first;
  const int64_t last_cell = cell_range.second;
  auto cell_start = [&](int64_t i) { return w.at(static_cast<double>(i * kCellLength_m)); };
  auto each_cell = [&](auto&& visit) {
    for (int64_t i = std::max<int64_t>(first_cell, 0); i <= last_cell; ++i) visit(i, s.cells[static_cast<size_t>(i)]);
  };

  // Speed band.
  int max_speed = 20;
  each_cell([&](int64_t, const TrackCell& c) { max_speed = std::max(max_speed, c.speed_limit * 5); });
  const double speed_top = std::ceil(max_speed / 20.0) * 20;
  auto speed_y = [&](double kmh) { return kSpeedBottom - kmh / speed_top * (kSpeedBottom - kSpeedTop); };
  svg.rect(kLeft, kSpeedTop, kPlotWidth, kSpeedBottom - kSpeedTop, "fill=\"none\" stroke=\"#ccc\"");
  for (double v = 0; v <= speed_top; v += speed_top / 4) {
    svg.line(kLeft, speed_y(v), kRight, speed_y(v), "stroke=\"#eee\"");
    svg.text(kLeft - 6, speed_y(v) + 4, svg_number(v), "text-anchor=\"end\"");
  }
  svg.text(kLeft - 50, kSpeedTop - 8, "km/h");

  // Slowdowns, shaded from their start to their end; one of no length over its one cell.
  for (const Slowdown& slowdown : slowdowns_of(s.cells)) {
    const int64_t start = feature_position_m(kSlowdownStart, slowdown.start_cell);
    const int64_t end = std::max(feature_position_m(kSlowdownEnd, slowdown.end_cell), start + kCellLength_m);
    if (end < w.from_m || start > w.to_m) continue;
    const double x1 = w.at(static_cast<double>(start)), x2 = std::max(w.at(static_cast<double>(end)), x1 + 2);
    svg.rect(x1, kSpeedTop, x2 - x1, kSpeedBottom - kSpeedTop,
             "class=\"slowdown\" fill=\"#f39c12\" fill-opacity=\"0.35\"");
    svg.text(x1, kSpeedTop - 4, std::to_string(slowdown.speed_kmh) + " km/h", "fill=\"#b9770e\"");
  }

  // Line speed as a step line over the route's cells, ending where the route ends.
  std::string speed;
  int previous = -1;
  each_cell([&](int64_t i, const TrackCell& c) {
    const double y = speed_y(c.speed_limit * 5.0);
    if (speed.empty())
      speed = "M" + svg_number(w.at(static_cast<double>(w.from_m))) + " " + svg_number(y);
    else if (c.speed_limit != previous)
      speed += " H" + svg_number(cell_start(i)) + " V" + svg_number(y);
    previous = c.speed_limit;
  });
  if (!speed.empty()) {
    speed += " H" + svg_number(w.at(static_cast<double>(w.to_m)));
    svg.raw("<path class=\"speed\" d=\"" + speed + "\" fill=\"none\" stroke=\"#27ae60\" stroke-width=\"1.5\"/>");
  }

  // Features along the track.
  each_cell([&](int64_t i, const TrackCell& c) {
    const double x = w.at(static_cast<double>(feature_position_m(c.kind, i)));
    if (!w.holds(feature_position_m(c.kind, i))) return;
    switch (c.kind) {
      case kSignal: svg.line(x, kSpeedBottom, x, kSpeedBottom - 8, "class=\"signal\" stroke=\"#c0392b\""); break;
      case kCodeReduction:
      case kCodeReductionNonPositive: {
        const double y = kSpeedTop + 6;
        svg.raw("<path class=\"code-reduction\" d=\"M" + svg_number(x - 4) + " " + svg_number(y - 6) + " L" +
                svg_number(x + 4) + " " + svg_number(y - 6) + " L" + svg_number(x) + " " + svg_number(y) +
                " Z\" fill=\"#8e44ad\"/>");
        break;
      }
      case kSpeedLimitBoards: {
        const double y = speed_y(c.value1 / 100 * 5.0);
        svg.rect(x - 3, y - 3, 6, 6, "class=\"speed-board\" fill=\"#27ae60\" stroke=\"black\" stroke-width=\"0.5\"");
        break;
      }
      case kIndicatorBoard:
        svg.raw("<path class=\"indicator-board\" d=\"M" + svg_number(x) + " " + svg_number(kSpeedBottom - 16) + " L" +
                svg_number(x + 4) + " " + svg_number(kSpeedBottom - 12) + " L" + svg_number(x) + " " +
                svg_number(kSpeedBottom - 8) + " L" + svg_number(x - 4) + " " + svg_number(kSpeedBottom - 12) +
                " Z\" fill=\"#2980b9\"/>");
        break;
      default: break;
    }
  });

  // Gradient band: per mille around a zero line; mountain stretches shaded behind it.
  int max_gradient = 5;
  each_cell([&](int64_t, const TrackCell& c) {
    if (c.gradient != 0) max_gradient = std::max(max_gradient, std::abs(c.gradient - 100));
  });
  const double mid = (kGradientTop + kGradientBottom) / 2;
  auto gradient_y = [&](int g) {
    return mid - g / static_cast<double>(max_gradient) * (kGradientBottom - kGradientTop) / 2;
  };
  svg.rect(kLeft, kGradientTop, kPlotWidth, kGradientBottom - kGradientTop, "fill=\"none\" stroke=\"#ccc\"");
  for (const CellRun& run : runs_of(s.cells, &TrackCell::mountain, last_cell)) {
    if (run.value == 0 || run.last_cell < first_cell) continue;
    const double x1 = cell_start(std::max(run.first_cell, first_cell)), x2 = std::max(cell_start(run.last_cell + 1), x1 + 2);
    svg.rect(x1, kGradientTop, x2 - x1, kGradientBottom - kGradientTop,
             "class=\"mountain\" fill=\"#a0522d\" fill-opacity=\"0.3\"");
  }
  svg.line(kLeft, mid, kRight, mid, "stroke=\"#bbb\"");
  svg.text(kLeft - 6, kGradientTop + 10, "+" + std::to_string(max_gradient), "text-anchor=\"end\"");
  svg.text(kLeft - 6, mid + 4, "0", "text-anchor=\"end\"");
  svg.text(kLeft - 6, kGradientBottom, "-" + std::to_string(max_gradient), "text-anchor=\"end\"");
  svg.text(kLeft - 50, kGradientTop - 6, "gradient (per mille)");
  std::string gradient;
  each_cell([&](int64_t i, const TrackCell& c) {
    if (c.gradient == 0) return;
    const double y = gradient_y(c.gradient - 100);
    const bool after_gap = i == first_cell || s.cells[static_cast<size_t>(i - 1)].gradient == 0;
    if (gradient.empty() || after_gap)
      gradient += (gradient.empty() ? "M" : " M") + svg_number(std::max(cell_start(i), w.at(static_cast<double>(w.from_m)))) +
                  " " + svg_number(y);
    else if (c.gradient != s.cells[static_cast<size_t>(i - 1)].gradient)
      gradient += " H" + svg_number(cell_start(i)) + " V" + svg_number(y);
    if (i == last_cell || s.cells[static_cast<size_t>(i + 1)].gradient == 0)
      gradient += " H" + svg_number(std::min(cell_start(i + 1), w.at(static_cast<double>(w.to_m))));
  });
  if (!gradient.empty())
    svg.raw("<path class=\"gradient\" d=\"" + gradient + "\" fill=\"none\" stroke=\"#7f8c8d\" stroke-width=\"1.5\"/>");

  draw_curves(svg, s, w);

  // Stations as vertical lines, their names staggered over three rows above the speed band.
  std::vector<Box> labels;
  for (const Station& station : stations) {
    if (!w.holds(station.record->position_m)) continue;
    const double x = w.at(station.record->position_m);
    svg.line(x, kSpeedTop, x, kCurveBottom, "stroke=\"#555\" stroke-dasharray=\"3,3\"");
    const double width = static_cast<double>(station.record->text.size()) * 6 + 4;
    for (int row = 0; row < 3; ++row) {
      const Box box{x, kSpeedTop - 54 + row * 12, width, 12};
      if (std::any_of(labels.begin(), labels.end(), [&](const Box& b) { return b.overlaps(box); })) continue;
      labels.push_back(box);
      svg.text(x + 2, box.y + 10, xml_text(station.record->text), "font-size=\"10\"");
      break;
    }
  }

  draw_axis(svg, s, w, kilometre_axis);
}

void draw_legend(Svg& svg) {
  struct Item {
    const char* swatch;
    const char* label;
  };
  const Item items[] = {
      {"<rect x=\"0\" y=\"-8\" width=\"18\" height=\"4\" fill=\"#1f4e9c\"/>", "track (plan)"},
      {"<circle cx=\"9\" cy=\"-5\" r=\"4\" fill=\"white\" stroke=\"black\"/>", "station"},
      {"<circle cx=\"9\" cy=\"-5\" r=\"3\" fill=\"#c0392b\"/>", "signal"},
      {"<rect x=\"0\" y=\"-8\" width=\"18\" height=\"3\" fill=\"#27ae60\"/>", "line speed limit"},
      {"<rect x=\"6\" y=\"-8\" width=\"6\" height=\"6\" fill=\"#27ae60\" stroke=\"black\" stroke-width=\"0.5\"/>",
       "speed-limit board"},
      {"<path d=\"M9 -10 L13 -6 L9 -2 L5 -6 Z\" fill=\"#2980b9\"/>", "indicator board"},
      {"<rect x=\"0\" y=\"-12\" width=\"18\" height=\"12\" fill=\"#f39c12\" fill-opacity=\"0.35\"/>", "slowdown"},
      {"<path d=\"M5 -10 L13 -10 L9 -4 Z\" fill=\"#8e44ad\"/>", "code reduction"},
      {"<rect x=\"0\" y=\"-8\" width=\"18\" height=\"3\" fill=\"#7f8c8d\"/>", "gradient"},
      {"<rect x=\"0\" y=\"-12\" width=\"18\" height=\"12\" fill=\"#a0522d\" fill-opacity=\"0.3\"/>", "mountain stretch"},
      {"<rect x=\"0\" y=\"-10\" width=\"18\" height=\"5\" fill=\"#16a085\"/>", "curve (right up, left down)"},
  };
  double x = kLeft, y = kLegendY;
  for (const Item& item : items) {
    svg.raw("<g class=\"legend\" transform=\"translate(" + svg_number(x) + "," + svg_number(y) + ")\">" + item.swatch +
            "<text x=\"24\" y=\"0\">" + item.label + "</text></g>");
    x += 180;
    if (x > kRight - 150) x = kLeft, y += 22;
  }
}

}  // namespace

std::string render_route_svg(const LoadedScenario& scenario, const PlotView& view) {
  Svg svg;
  const Window w = window_of(scenario, view);
  std::string title = xml_text(scenario.name) + " – train " + xml_text(scenario.number);
  if (view.from_m || view.to_m)
    title += " – metres " + std::to_string(w.from_m) + " to " + std::to_string(w.to_m);
  svg.text(kLeft, 32, title, "font-size=\"20\" font-weight=\"bold\"");
  const KilometreReadings km(scenario.records);
  const std::vector<Station> stations = stations_of(scenario.cells, scenario.records, km);
  draw_plan_view(svg, scenario, w, stations);
  draw_profile(svg, scenario, w, stations, view.kilometre_axis);
  draw_legend(svg);
  return svg.finish();
}

}  // namespace scenario
