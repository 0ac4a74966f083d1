#include "plot/route_plot.hpp"

#include <algorithm>
#include <cmath>
#include <set>
#include <string_view>

#include "plot/svg_text.hpp"

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
constexpr double kAxisY = 1050;
constexpr double kLegendY = 1100;
constexpr double kHeight = 1130;


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

// Keeps labels from piling up: a label is placed only where no placed label is near.
class LabelSpace {
 public:
  LabelSpace(double min_dx, double min_dy) : min_dx_(min_dx), min_dy_(min_dy) {}
  bool claim(double x, double y) {
    for (const auto& [px, py] : placed_)
      if (std::abs(px - x) < min_dx_ && std::abs(py - y) < min_dy_) return false;
    placed_.emplace_back(x, y);
    return true;
  }

 private:
  double min_dx_, min_dy_;
  std::vector<std::pair<double, double>> placed_;
};

struct Station {
  int32_t position_m;
  std::string label;  // XML text
};

// Stations are the named slots below the header slots that no indicator board points to.
std::vector<Station> stations_of(const RouteDrawing& d) {
  std::set<int> board_slots;
  for (const TrackCell& c : d.cells)
    if (c.kind == kIndicatorBoard) board_slots.insert(c.value1);
  std::vector<Station> stations;
  for (int slot = kFirstStationSlot; slot <= kFirstBoardTextSlot; ++slot) {
    const SimRecord& r = d.records[static_cast<size_t>(slot)];
    if (r.text.empty() || board_slots.count(slot) != 0) continue;
    stations.push_back({r.position_m, xml_text(r.text)});
  }
  return stations;
}

int32_t plan_point_count(const LinePlan& plan) {
  return plan.dimensioned() && plan.has_starting_points() ? plan.computed_end() : 0;
}

void draw_plan_view(Svg& svg, const RouteDrawing& d, const std::vector<Station>& stations) {
  svg.text(kLeft, kPlanTop - 14, "Plan", "font-size=\"14\" font-weight=\"bold\"");
  svg.rect(kLeft, kPlanTop, kPlotWidth, kPlanBottom - kPlanTop, "fill=\"none\" stroke=\"#ccc\"");
  const int32_t count = plan_point_count(d.plan);
  if (count < 2) {
    svg.text(kLeft + kPlotWidth / 2, (kPlanTop + kPlanBottom) / 2, "no line plan in this scenario",
             "text-anchor=\"middle\" fill=\"#888\"");
    return;
  }
  double min_x = 0, max_x = 0, min_y = 0, max_y = 0;
  for (int32_t m = 0; m < count; ++m) {
    const PlanPoint p = d.plan.point(m);
    min_x = std::min(min_x, p.x), max_x = std::max(max_x, p.x);
    min_y = std::min(min_y, p.y), max_y = std::max(max_y, p.y);
  }
  const double inner_w = kPlotWidth - 40, inner_h = kPlanBottom - kPlanTop - 60;
  // Equal scale on both axes; a straight track has no width, so spans are at least 1 m.
  const double scale = std::min(inner_w / std::max(max_x - min_x, 1.0), inner_h / std::max(max_y - min_y, 1.0));
  const double mid_x = (min_x + max_x) / 2, mid_y = (min_y + max_y) / 2;
  const double centre_x = kLeft + kPlotWidth / 2, centre_y = (kPlanTop + kPlanBottom) / 2 - 10;
  auto screen = [&](int64_t metre) {
    const PlanPoint p = d.plan.point(std::clamp<int64_t>(metre, 0, count - 1));
    return std::pair{centre_x + (p.x - mid_x) * scale, centre_y - (p.y - mid_y) * scale};
  };

  const size_t step = (static_cast<size_t>(count) + kMaxPlanPathPoints - 1) / kMaxPlanPathPoints;
  std::string path;
  for (int64_t m = 0;; m += static_cast<int64_t>(step)) {
    const bool last = m >= count - 1;
    const auto [x, y] = screen(last ? count - 1 : m);
    path += (path.empty() ? "M" : " L") + svg_number(x) + " " + svg_number(y);
    if (last) break;
  }
  svg.raw("<path class=\"track\" d=\"" + path + "\" fill=\"none\" stroke=\"#1f4e9c\" stroke-width=\"2\"/>");

  for (size_t i = 0; i < d.cells.size(); ++i)
    if (d.cells[i].kind == kSignal) {
      const auto [x, y] = screen(static_cast<int64_t>(i) * kCellLength_m);
      svg.circle(x, y, 2, "fill=\"#c0392b\"");
    }
  LabelSpace labels(90, 14);
  for (const Station& s : stations) {
    const auto [x, y] = screen(s.position_m);
    svg.circle(x, y, 4, "fill=\"white\" stroke=\"black\"");
    if (labels.claim(x, y)) svg.text(x + 7, y + 4, s.label);
  }

  // Scale bar, about a fifth of the panel, bottom left.
  const double bar_m = nice_step_at_most(inner_w / 5 / scale);
  const double bar_px = bar_m * scale;
  const double bar_y = kPlanBottom - 20;
  svg.line(kLeft + 20, bar_y, kLeft + 20 + bar_px, bar_y, "stroke=\"black\" stroke-width=\"3\"");
  svg.text(kLeft + 20, bar_y - 6, svg_number(bar_m / 1000) + " km");
}

void draw_profile(Svg& svg, const RouteDrawing& d, const std::vector<Station>& stations) {
  svg.text(kLeft, kSpeedTop - 60, "Profile", "font-size=\"14\" font-weight=\"bold\"");
  const double route_m = std::max<double>(static_cast<double>(d.cells.size() > 0 ? d.cells.size() - 1 : 0) *
                                              kCellLength_m, 1.0);
  auto at = [&](double metre) { return kLeft + std::clamp(metre / route_m, 0.0, 1.0) * kPlotWidth; };
  auto cell_x = [&](size_t i) { return at(static_cast<double>(i) * kCellLength_m); };

  // Speed band.
  int max_speed = 20;
  for (const TrackCell& c : d.cells) max_speed = std::max(max_speed, c.speed_limit * kSpeedUnit_kmh);
  const double speed_top = std::ceil(max_speed / 20.0) * 20;
  auto speed_y = [&](double kmh) { return kSpeedBottom - kmh / speed_top * (kSpeedBottom - kSpeedTop); };
  svg.rect(kLeft, kSpeedTop, kPlotWidth, kSpeedBottom - kSpeedTop, "fill=\"none\" stroke=\"#ccc\"");
  for (double v = 0; v <= speed_top; v += speed_top / 4) {
    svg.line(kLeft, speed_y(v), kRight, speed_y(v), "stroke=\"#eee\"");
    svg.text(kLeft - 6, speed_y(v) + 4, svg_number(v), "text-anchor=\"end\"");
  }
  svg.text(kLeft - 50, kSpeedTop - 8, "km/h");

  // Slowdowns, shaded from their start to their end.
  for (size_t i = 0; i < d.cells.size(); ++i) {
    if (d.cells[i].kind != kSlowdownStart) continue;
    size_t end = i;
    while (end + 1 < d.cells.size() && d.cells[end].kind != kSlowdownEnd) ++end;
    const double x1 = cell_x(i), x2 = std::max(cell_x(end), x1 + 2);
    svg.rect(x1, kSpeedTop, x2 - x1, kSpeedBottom - kSpeedTop, "fill=\"#f39c12\" fill-opacity=\"0.35\"");
    svg.text(x1, kSpeedTop - 4, std::to_string(d.cells[i].value1) + " km/h", "fill=\"#b9770e\"");
  }

  // Line speed as a step line, one step per run of equal cells.
  std::string speed;
  for (size_t i = 0; i < d.cells.size(); ++i) {
    const double y = speed_y(static_cast<double>(d.cells[i].speed_limit * kSpeedUnit_kmh));
    if (i == 0)
      speed = "M" + svg_number(cell_x(0)) + " " + svg_number(y);
    else if (d.cells[i].speed_limit != d.cells[i - 1].speed_limit)
      speed += " H" + svg_number(cell_x(i)) + " V" + svg_number(y);
  }
  if (!d.cells.empty()) {
    speed += " H" + svg_number(kRight);
    svg.raw("<path class=\"speed\" d=\"" + speed + "\" fill=\"none\" stroke=\"#27ae60\" stroke-width=\"1.5\"/>");
  }

  for (size_t i = 0; i < d.cells.size(); ++i) {
    const uint8_t kind = d.cells[i].kind;
    if (kind == kSignal) svg.line(cell_x(i), kSpeedBottom, cell_x(i), kSpeedBottom - 8, "stroke=\"#c0392b\"");
    if (kind == kCodeReduction || kind == kCodeReductionNonPositive) {
      const double x = cell_x(i), y = kSpeedTop + 6;
      svg.raw("<path class=\"code-reduction\" d=\"M" + svg_number(x - 4) + " " + svg_number(y - 6) + " L" +
              svg_number(x + 4) + " " + svg_number(y - 6) + " L" + svg_number(x) + " " + svg_number(y) +
              " Z\" fill=\"#8e44ad\"/>");
    }
  }

  // Gradient band: per mille around a zero line; cells the compiler never gave a gradient
  // (the last few) are left out.
  int max_gradient = 5;
  for (const TrackCell& c : d.cells)
    if (c.gradient != 0) max_gradient = std::max(max_gradient, std::abs(c.gradient - kGradientBias));
  const double mid = (kGradientTop + kGradientBottom) / 2;
  auto gradient_y = [&](int g) { return mid - g / static_cast<double>(max_gradient) * (kGradientBottom - kGradientTop) / 2; };
  svg.rect(kLeft, kGradientTop, kPlotWidth, kGradientBottom - kGradientTop, "fill=\"none\" stroke=\"#ccc\"");
  svg.line(kLeft, mid, kRight, mid, "stroke=\"#ddd\"");
  svg.text(kLeft - 6, kGradientTop + 10, "+" + std::to_string(max_gradient), "text-anchor=\"end\"");
  svg.text(kLeft - 6, kGradientBottom, "-" + std::to_string(max_gradient), "text-anchor=\"end\"");
  svg.text(kLeft - 50, kGradientTop - 6, "gradient (per mille)");
  std::string gradient;
  for (size_t i = 0; i < d.cells.size(); ++i) {
    if (d.cells[i].gradient == 0) continue;
    const double y = gradient_y(d.cells[i].gradient - kGradientBias);
    if (gradient.empty() || i == 0 || d.cells[i - 1].gradient == 0)
      gradient += (gradient.empty() ? "M" : " M") + svg_number(cell_x(i)) + " " + svg_number(y);
    else if (d.cells[i].gradient != d.cells[i - 1].gradient)
      gradient += " H" + svg_number(cell_x(i)) + " V" + svg_number(y);
    if (i + 1 == d.cells.size() || d.cells[i + 1].gradient == 0) gradient += " H" + svg_number(cell_x(i + 1));
  }
  if (!gradient.empty())
    svg.raw("<path class=\"gradient\" d=\"" + gradient + "\" fill=\"none\" stroke=\"#7f8c8d\" stroke-width=\"1.5\"/>");

  // Stations as vertical lines, their names staggered over three rows above the speed band.
  LabelSpace labels(110, 12);
  for (const Station& s : stations) {
    const double x = at(s.position_m);
    svg.line(x, kSpeedTop, x, kGradientBottom, "stroke=\"#555\" stroke-dasharray=\"3,3\"");
    for (int row = 0; row < 3; ++row) {
      const double y = kSpeedTop - 30 + row * 12 - 12;
      if (labels.claim(x, y)) {
        svg.text(x + 2, y, s.label, "font-size=\"10\"");
        break;
      }
    }
  }

  // Kilometre axis.
  const double tick_m = std::max(nice_step_at_most(route_m / 8), 1.0);
  svg.line(kLeft, kAxisY, kRight, kAxisY, "stroke=\"black\"");
  for (double m = 0; m <= route_m; m += tick_m) {
    svg.line(at(m), kAxisY, at(m), kAxisY + 5, "stroke=\"black\"");
    svg.text(at(m), kAxisY + 18, svg_number(m / 1000) + " km", "text-anchor=\"middle\"");
  }
}

void draw_legend(Svg& svg) {
  struct Item {
    const char* swatch;
    const char* label;
  };
  const Item items[] = {
      {"<rect x=\"0\" y=\"-8\" width=\"18\" height=\"4\" fill=\"#1f4e9c\"/>", "track (plan)"},
      {"<rect x=\"0\" y=\"-8\" width=\"18\" height=\"3\" fill=\"#27ae60\"/>", "line speed limit"},
      {"<rect x=\"0\" y=\"-8\" width=\"18\" height=\"3\" fill=\"#7f8c8d\"/>", "gradient"},
      {"<rect x=\"0\" y=\"-12\" width=\"18\" height=\"12\" fill=\"#f39c12\" fill-opacity=\"0.35\"/>", "slowdown"},
      {"<circle cx=\"9\" cy=\"-5\" r=\"3\" fill=\"#c0392b\"/>", "signal"},
      {"<path d=\"M5 -10 L13 -10 L9 -4 Z\" fill=\"#8e44ad\"/>", "code reduction"},
      {"<circle cx=\"9\" cy=\"-5\" r=\"4\" fill=\"white\" stroke=\"black\"/>", "station"},
  };
  double x = kLeft;
  for (const Item& item : items) {
    svg.raw("<g transform=\"translate(" + svg_number(x) + "," + svg_number(kLegendY) + ")\">" + item.swatch +
            "<text x=\"24\" y=\"0\">" + item.label + "</text></g>");
    x += 150;
  }
}

}  // namespace

std::string render_route_svg(const RouteDrawing& drawing) {
  Svg svg;
  svg.text(kLeft, 32, xml_text(drawing.name) + " – train " + xml_text(drawing.number),
           "font-size=\"20\" font-weight=\"bold\"");
  const std::vector<Station> stations = stations_of(drawing);
  draw_plan_view(svg, drawing, stations);
  draw_profile(svg, drawing, stations);
  draw_legend(svg);
  return svg.finish();
}

}  // namespace scenario
