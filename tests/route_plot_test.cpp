#include "plot/route_plot.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

RouteDrawing straight_route(int32_t extent_m, int32_t computed_to) {
  RouteDrawing d;
  d.name = "Prova";
  d.number = "7";
  d.cells.resize(static_cast<size_t>(extent_m / 50) + 1);
  d.plan = LinePlan(extent_m);
  d.plan.set_starting_points();
  while (d.plan.computed_end() <= computed_to) d.plan.append_point(0, d.plan.computed_end());
  return d;
}

TEST(RoutePlot, DrawsStationsSignalsAndSlowdownsAsWellFormedSvg) {
  RouteDrawing d = straight_route(89000, 88998);
  d.records[1].text = "MILANO CENTRALE";
  d.records[2].text = "A & B <\xE8>";  // Windows-1252 è
  d.records[2].position_m = 40000;
  d.records[80].text = "(Km. 2.256)";  // a board text, not a station
  d.cells[1220].kind = kIndicatorBoard;
  d.cells[1220].value1 = 80;
  d.cells[173].kind = kSignal;
  d.cells[1053] = TrackCell{kSlowdownStart, 80};
  d.cells[1058] = TrackCell{kSlowdownEnd, 80};
  d.cells[1048] = TrackCell{kCodeReduction, 180};
  for (auto& c : d.cells) c.speed_limit = 19, c.gradient = 105;

  const std::string svg = render_route_svg(d);
  EXPECT_TRUE(well_formed_xml(svg));
  EXPECT_NE(svg.find("MILANO CENTRALE"), std::string::npos);
  EXPECT_NE(svg.find("A &amp; B &lt;\xC3\xA8&gt;"), std::string::npos);
  EXPECT_EQ(svg.find("Km. 2.256"), std::string::npos);
  EXPECT_NE(svg.find("80 km/h"), std::string::npos);
  EXPECT_NE(svg.find("Prova – train 7"), std::string::npos);
  // 88999 computed points thinned to every 45th, the last one kept.
  EXPECT_EQ(track_path_points(svg), (88999 - 1 + 44) / 45 + 1);
  EXPECT_LE(track_path_points(svg), kMaxPlanPathPoints + 1);
}

TEST(RoutePlot, ShortPlansKeepEveryPoint) {
  RouteDrawing d = straight_route(7025, 1500);
  EXPECT_EQ(track_path_points(render_route_svg(d)), 1501u);
}

TEST(RoutePlot, DegenerateScenariosDrawWithoutDividingByZero) {
  RouteDrawing no_plan;
  no_plan.cells.resize(1);
  RouteDrawing nothing;
  RouteDrawing only_start = straight_route(7025, 1);  // two points on one straight line
  for (const RouteDrawing* d : {&no_plan, &nothing, &only_start}) {
    const std::string svg = render_route_svg(*d);
    EXPECT_TRUE(well_formed_xml(svg));
    EXPECT_EQ(svg.find("nan"), std::string::npos);
    EXPECT_EQ(svg.find("inf"), std::string::npos);
  }
  EXPECT_NE(render_route_svg(no_plan).find("no line plan"), std::string::npos);
}

}  // namespace
}  // namespace scenario
