#include "plot/route_plot.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/reading_fixture.hpp"

namespace scenario {
namespace {

// A small well-formedness check: every tag closes in order, attributes are quoted, and
// no bare '<' or '&' stands in text.
::testing::AssertionResult well_formed_xml(const std::string& xml) {
  std::vector<std::string> open;
  size_t i = xml.find("?>");
  if (xml.rfind("<?xml", 0) != 0 || i == std::string::npos) return ::testing::AssertionFailure() << "no declaration";
  for (i += 2; i < xml.size(); ++i) {
    if (xml[i] == '&') {
      const size_t semi = xml.find(';', i);
      const std::string entity = xml.substr(i, semi - i + 1);
      if (entity != "&amp;" && entity != "&lt;" && entity != "&gt;" && entity != "&quot;" && entity != "&apos;")
        return ::testing::AssertionFailure() << "bad entity at " << i;
      continue;
    }
    if (xml[i] != '<') continue;
    const size_t close = xml.find('>', i);
    if (close == std::string::npos) return ::testing::AssertionFailure() << "unclosed tag at " << i;
    std::string tag = xml.substr(i + 1, close - i - 1);
    if (tag.find('<') != std::string::npos) return ::testing::AssertionFailure() << "'<' inside a tag at " << i;
    size_t quotes = 0;
    for (char c : tag) quotes += c == '"';
    if (quotes % 2 != 0) return ::testing::AssertionFailure() << "unbalanced quotes at " << i;
    if (tag.front() == '/') {
      if (open.empty() || open.back() != tag.substr(1)) return ::testing::AssertionFailure() << "mismatched </" << tag;
      open.pop_back();
    } else if (tag.back() != '/') {
      open.push_back(tag.substr(0, tag.find_first_of(" \n")));
    }
    i = close;
  }
  if (!open.empty()) return ::testing::AssertionFailure() << "unclosed <" << open.back() << ">";
  return ::testing::AssertionSuccess();
}

size_t track_path_points(const std::string& svg) {
  const size_t start = svg.find("class=\"track\" d=\"");
  if (start == std::string::npos) return 0;
  const size_t end = svg.find('"', start + 17);
  size_t points = 1;
  for (size_t i = start; i < end; ++i) points += svg[i] == 'L';
  return points;
}

// The boxes of the plan's station labels and the points of its track path.
struct PlanGeometry {
  std::vector<std::array<double, 4>> labels;
  std::vector<std::pair<double, double>> track;
};

PlanGeometry plan_geometry(const std::string& svg) {
  PlanGeometry g;
  for (size_t at = svg.find("data-box=\""); at != std::string::npos; at = svg.find("data-box=\"", at + 1)) {
    std::array<double, 4> box{};
    std::istringstream(svg.substr(at + 10, 60)) >> box[0] >> box[1] >> box[2] >> box[3];
    g.labels.push_back(box);
  }
  const size_t start = svg.find("class=\"track\" d=\"") + 17;
  std::istringstream path(svg.substr(start, svg.find('"', start) - start));
  std::string op;
  double x = 0, y = 0;
  while (path >> op >> x >> y) g.track.emplace_back(x, y);
  return g;
}

bool overlaps(const std::array<double, 4>& a, const std::array<double, 4>& b) {
  return a[0] < b[0] + b[2] && b[0] < a[0] + a[2] && a[1] < b[1] + b[3] && b[1] < a[1] + a[3];
}

bool inside(const std::array<double, 4>& box, double x, double y) {
  return x > box[0] && x < box[0] + box[2] && y > box[1] && y < box[1] + box[3];
}

// No label box overlaps another, and no point along the drawn track (sampled every unit)
// falls inside a label box.
void expect_labels_clear(const std::string& svg, size_t at_least) {
  const PlanGeometry g = plan_geometry(svg);
  EXPECT_GE(g.labels.size(), at_least);
  for (size_t i = 0; i < g.labels.size(); ++i)
    for (size_t j = i + 1; j < g.labels.size(); ++j) EXPECT_FALSE(overlaps(g.labels[i], g.labels[j])) << i << " " << j;
  for (size_t i = 1; i < g.track.size(); ++i) {
    const auto [x1, y1] = g.track[i - 1];
    const auto [x2, y2] = g.track[i];
    const int steps = static_cast<int>(std::hypot(x2 - x1, y2 - y1)) + 1;
    for (int k = 0; k <= steps; ++k) {
      const double x = x1 + (x2 - x1) * k / steps, y = y1 + (y2 - y1) * k / steps;
      for (const auto& box : g.labels) ASSERT_FALSE(inside(box, x, y)) << "track at " << x << "," << y;
    }
  }
}

TEST(RoutePlot, DrawsTheBuiltInRouteWithClearLabels) {
  const std::string svg = render_route_svg(testing::builtin_scenario());
  EXPECT_TRUE(well_formed_xml(svg));
  EXPECT_NE(svg.find("Milano_Tortona – train 5"), std::string::npos);
  EXPECT_NE(svg.find("80 km/h"), std::string::npos);
  // every station is labelled in the plan, or listed under it
  const PlanGeometry g = plan_geometry(svg);
  const size_t listed = svg.find("class=\"unlabelled\"") == std::string::npos ? 0 : 1;
  EXPECT_TRUE(g.labels.size() == 15 || listed == 1) << g.labels.size();
  expect_labels_clear(svg, 10);
  // The 82 001 points of the route (not the 7 000 m the compiler adds) thinned to every
  // 42nd, the last one kept.
  EXPECT_EQ(track_path_points(svg), (82001 + 41) / 42 + 1);
  for (const char* legend : {"speed-limit board", "indicator board", "mountain stretch", "curve"})
    EXPECT_NE(svg.find(legend), std::string::npos) << legend;
  EXPECT_NE(svg.find(">0</text>"), std::string::npos) << "the gradient axis shows 0";
}

// The profile ends at the route length: the speed line stops there, at the right edge,
// without falling to 0 over the cells the compiler keeps beyond the route.
TEST(RoutePlot, TheProfileEndsWithTheRoute) {
  const std::string svg = render_route_svg(testing::builtin_scenario());
  const size_t start = svg.find("class=\"speed\" d=\"");
  const std::string path = svg.substr(start, svg.find('"', start + 17) - start);
  EXPECT_TRUE(path.ends_with("V800 H1150")) << path;  // 80 km/h on a scale to 160, to the right edge
}

TEST(RoutePlot, AZeroLengthSlowdownCoversItsOneCell) {
  const LoadedScenario s = testing::compiled_scenario_of(
      std::string(kLineSourceText),
      testing::replaced(testing::replaced(kServiceSourceText, "52600,    80,  250", "52600,    80,  0"), "[rallentamenti]\n",
                        "[rallentamenti]\nrallentamento,   20000,    60,  0, 0,  1,  60\n"));
  const std::string svg = render_route_svg(s, {std::nullopt, std::nullopt, false});
  std::vector<double> widths;
  for (size_t at = svg.find("class=\"slowdown\""); at != std::string::npos; at = svg.find("class=\"slowdown\"", at + 1)) {
    const size_t w = svg.rfind("width=\"", at) + 7;
    widths.push_back(std::stod(svg.substr(w)));
  }
  ASSERT_EQ(widths.size(), 2u);
  for (const double width : widths) EXPECT_LT(width, 3.0);  // 50 m of 82 km over 1080 units
}

TEST(RoutePlot, AWindowDrawsItsStretchWithKilometreReadings) {
  const std::string svg = render_route_svg(testing::builtin_scenario(), {35000, 45000, true});
  EXPECT_TRUE(well_formed_xml(svg));
  EXPECT_NE(svg.find("metres 35000 to 45000"), std::string::npos);
  EXPECT_NE(svg.find(">PAVIA<"), std::string::npos);
  EXPECT_EQ(svg.find(">TORTONA<"), std::string::npos);
  EXPECT_NE(svg.find(">22.700</text>"), std::string::npos) << "the change at 40 500 m with its new reading";
  expect_labels_clear(svg, 3);
}

TEST(RoutePlot, DegenerateScenariosDrawWithoutDividingByZero) {
  LoadedScenario no_plan;
  no_plan.cells.resize(1);
  LoadedScenario nothing;
  for (const LoadedScenario* s : {&no_plan, &nothing}) {
    const std::string svg = render_route_svg(*s);
    EXPECT_TRUE(well_formed_xml(svg));
    EXPECT_EQ(svg.find("nan"), std::string::npos);
    EXPECT_EQ(svg.find("inf"), std::string::npos);
  }
  EXPECT_NE(render_route_svg(no_plan).find("no line plan"), std::string::npos);
}

}  // namespace
}  // namespace scenario
