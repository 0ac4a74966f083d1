#include "plot/route_plot.hpp"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "format/file_io.hpp"
#include "plot/text_metrics.hpp"
#include "reading/track_reading.hpp"
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

// The value of attribute `name` in a tag's text, or "" when it has none.
std::string attribute(std::string_view tag, std::string_view name) {
  const std::string key = " " + std::string(name) + "=\"";
  const size_t at = tag.find(key);
  if (at == std::string_view::npos) return "";
  const size_t start = at + key.size();
  return std::string(tag.substr(start, tag.find('"', start) - start));
}

double number_attribute(std::string_view tag, std::string_view name, double otherwise) {
  const std::string value = attribute(tag, name);
  return value.empty() ? otherwise : std::stod(value);
}

struct DrawnText {
  Box box;
  std::string content;
};

// What a picture shows: its size, the box of every text as drawn (after the translations
// of its groups), the class of every shape outside the legend ("" for none), and the mark
// classes the legend explains.
struct Picture {
  double width = 0, height = 0;
  std::vector<DrawnText> texts;
  std::vector<std::string> shape_classes;
  std::set<std::string> legend_marks;
};

Picture picture_of(const std::string& svg) {
  Picture picture;
  double font_size = 11;
  std::vector<std::pair<double, double>> offsets{{0, 0}};
  std::vector<bool> in_legend{false};
  for (size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
    const size_t close = svg.find('>', at);
    const std::string_view tag(svg.data() + at, close - at);
    std::string name(tag.substr(1, tag.find_first_of(" \n", 1) - 1));
    if (name.ends_with('/')) name.pop_back();
    if (name == "svg") {
      picture.width = number_attribute(tag, "width", 0), picture.height = number_attribute(tag, "height", 0);
      font_size = number_attribute(tag, "font-size", font_size);
    } else if (name == "g") {
      std::pair<double, double> offset = offsets.back();
      const std::string transform = attribute(tag, "transform");
      if (transform.starts_with("translate(")) {
        offset.first += std::stod(transform.substr(10));
        offset.second += std::stod(transform.substr(transform.find(',') + 1));
      }
      offsets.push_back(offset);
      const bool legend = attribute(tag, "class") == "legend";
      if (legend) picture.legend_marks.insert(attribute(tag, "data-mark"));
      in_legend.push_back(in_legend.back() || legend);
    } else if (name == "/g") {
      offsets.pop_back();
      in_legend.pop_back();
    } else if (name == "text") {
      const std::string content = svg.substr(close + 1, svg.find("</text>", close) - close - 1);
      const std::string anchor = attribute(tag, "text-anchor");
      const double size = number_attribute(tag, "font-size", font_size);
      const Box box = text_box(number_attribute(tag, "x", 0) + offsets.back().first,
                               number_attribute(tag, "y", 0) + offsets.back().second, content, size,
                               attribute(tag, "font-weight") == "bold",
                               anchor == "middle" ? TextAnchor::kMiddle
                               : anchor == "end"  ? TextAnchor::kEnd
                                                  : TextAnchor::kStart);
      picture.texts.push_back({box, content});
    } else if ((name == "line" || name == "rect" || name == "circle" || name == "path") && !in_legend.back()) {
      picture.shape_classes.push_back(attribute(tag, "class"));
    }
  }
  return picture;
}

// Every text lies inside the picture, and no two texts overlap.
void expect_texts_inside_and_apart(const Picture& picture) {
  const Box page{0, 0, picture.width, picture.height};
  for (size_t i = 0; i < picture.texts.size(); ++i) {
    const DrawnText& a = picture.texts[i];
    EXPECT_TRUE(a.box.within(page)) << "'" << a.content << "' at " << a.box.x << "," << a.box.y << " to "
                                    << a.box.x + a.box.w << "," << a.box.y + a.box.h;
    for (size_t j = i + 1; j < picture.texts.size(); ++j)
      EXPECT_FALSE(a.box.overlaps(picture.texts[j].box)) << "'" << a.content << "' and '" << picture.texts[j].content
                                                         << "' at " << a.box.x << "," << a.box.y;
  }
}

// Every shape is of a kind the legend explains, or the picture's own furniture.
void expect_every_mark_in_legend(const Picture& picture) {
  const std::set<std::string> furniture{"background", "frame", "grid", "axis", "scale-bar", "leader"};
  for (const std::string& kind : picture.shape_classes)
    EXPECT_TRUE(furniture.contains(kind) || picture.legend_marks.contains(kind)) << "no legend entry for '" << kind << "'";
}

// Every station of the drawing is named by a label, or in the key under the profile.
void expect_every_station_named(const std::string& svg, const std::vector<std::string>& names) {
  std::string key;
  for (size_t at = svg.find("class=\"station-key\""); at != std::string::npos;
       at = svg.find("class=\"station-key\"", at + 1)) {
    const size_t start = svg.find('>', at) + 1;
    key += svg.substr(start, svg.find("</text>", start) - start) + ",";
  }
  for (const std::string& name : names)
    EXPECT_TRUE(svg.find(">" + name + "<") != std::string::npos || key.find(" " + name + ",") != std::string::npos)
        << name;
}

TEST(RoutePlot, DrawsTheBuiltInRouteWithClearLabels) {
  const std::string svg = render_route_svg(testing::builtin_scenario());
  EXPECT_TRUE(well_formed_xml(svg));
  EXPECT_NE(svg.find("Milano_Tortona – train 5"), std::string::npos);
  EXPECT_NE(svg.find("80 km/h"), std::string::npos);
  expect_every_station_named(svg, {"MILANO CENTRALE", "MILANO C.LE", "MILANO LAMBRATE", "ROGOREDO", "LOCATE TRIULZI",
                                   "VILLAMAGGIORE", "CERTOSA DI PAVIA", "PAVIA", "BIVIO GRAVELLONE", "CAVA MANARA",
                                   "BRESSANA BOTTARONE", "LUNGAVILLA", "VOGHERA", "PONTECURONE", "TORTONA"});
  expect_labels_clear(svg, 10);
  const Picture picture = picture_of(svg);
  expect_texts_inside_and_apart(picture);
  expect_every_mark_in_legend(picture);
  // The indicator board at 60 950 m shows its text, as a label and in the mark's title.
  EXPECT_NE(svg.find("<title>(Km. 2.256)</title>"), std::string::npos);
  EXPECT_NE(svg.find(">(Km. 2.256)</text>"), std::string::npos);
  // The 82 001 points of the route (not the 7 000 m the compiler adds) thinned to every
  // 42nd, the last one kept.
  EXPECT_EQ(track_path_points(svg), (82001 + 41) / 42 + 1);
  for (const char* legend : {"speed-limit board", "indicator board", "mountain stretch", "curve"})
    EXPECT_NE(svg.find(legend), std::string::npos) << legend;
  EXPECT_NE(svg.find(">0</text>"), std::string::npos) << "the gradient axis shows 0";
}

// The profile ends at the route length: the speed line stops there, at the right edge,
// without falling to 0 over the cells the compiler keeps beyond the route.
// A route of `length_m` with two close indicator boards, and a service source with these
// stations (position and name), the first a departure, the last an arrival.
LoadedScenario crowded_scenario(int32_t length_m, const std::vector<std::pair<int32_t, std::string>>& stations) {
  const std::string line = "[generale]\r\nlunghezza percorso, " + std::to_string(length_m) +
                           "\r\n"
                           "progressiva chilometrica uno, 2000, 100000, 0\r\n"
                           "ripetizione segnali 4 codici, 1000, 11000\r\n"
                           "[curve]\r\ncurvad3, 2000, 500\r\ncurvas2, 6000, 800\r\n"
                           "[pendenze]\r\npendenza, 0, 0\r\npendenza, 3000, 6\r\n"
                           "[cartelli]\r\nindicatori_vmax, 500, 60, 60, 60, 0, , , , 0\r\n"
                           "[indicazioni]\r\ncartello_indicatore, 9400, (Km. 9.400)\r\n"
                           "cartello_indicatore, 9450, A & B <ovest>\r\n[fine]\r\n";
  std::string rows;
  for (size_t i = 0; i < stations.size(); ++i) {
    const std::string at = std::to_string(stations[i].first);
    if (i == 0)
      rows += "stazione, " + at + ", 8, 400, 1, 1, 0, 4,1,0, 2,1,1, 1, 8,30, 0, ";
    else if (i + 1 == stations.size())
      rows += "stazione, " + at + ", 4, 100, 0, 0, 0, 1,1,0, 4,1,1, 0, 8,50, 0, ";
    else
      rows += "stazione, " + at + ", 22, 100, 0, 0, 1, 0,0,0, 4,1,1, 0, 0,0, 0, ";
    rows += stations[i].second + "\r\n";
  }
  const std::string service = "[generale]\r\nnumero vetture, 6\r\npercentuale massa frenata, 110\r\nsabbia, 300\r\n"
                              "orologio, 8 30 0\r\n[aderenze]\r\naderenza, 0, 100\r\n"
                              "[vel_limite]\r\nvelocita, 0, 60\r\nvelocita, 1500, 120\r\n[stazioni]\r\n" +
                              rows +
                              "[rallentamenti]\r\nrallentamento, 8000, 60, 300, 0, 1, 60\r\n"
                              "rallentamento, 8100, 30, 100, 0, 0, 30\r\n"
                              "[segnali]\r\nsegnale, 800, 2, 4, 1, 1, 0, 0, 0,0,0, 0\r\n"
                              "segnale, 5050, 2, 4, 1, 1, 0, 2, 2,1,1, 0\r\n[fine]\r\n";
  return testing::compiled_scenario_of(line, service, 1, "Prova", "1");
}

std::vector<std::pair<int32_t, std::string>> twelve_stations_a_kilometre_apart() {
  const char* names[] = {"ALFA CENTRALE", "BRAVO SCALO",    "CHARLIE BIVIO",     "DELTA SUPERIORE",
                         "ECHO INFERIORE", "FOXTROT MARITTIMA", "GOLF PORTO",     "HOTEL SMISTAMENTO",
                         "INDIA TERME",    "JULIET VECCHIA", "KILO NUOVA",        "LIMA CENTRALE DI CAPOLINEA"};
  std::vector<std::pair<int32_t, std::string>> stations;
  for (int32_t i = 0; i < 12; ++i) stations.emplace_back(i * 1000 + (i == 11 ? 500 : 0), names[i]);
  return stations;
}

// Crowded pictures: every text inside the page and clear of every other, every kind of mark
// in the legend, every station of the stretch named (or numbered and named in the key), and
// the plan's labels clear of the track.
// The built-in route's picture, the plan read once for the plan view and the curve band,
// is the one the README shows, byte for byte.
TEST(RoutePlot, TheBuiltInPictureIsTheReadmes) {
  EXPECT_EQ(render_route_svg(testing::builtin_scenario()), read_file(std::string(SCENARIO_DOCS) + "/Milano_Tortona_5.svg"));
}

TEST(RoutePlot, CrowdedLabelsStayInsideThePictureAndApart) {
  const std::vector<std::pair<int32_t, std::string>> twelve = twelve_stations_a_kilometre_apart();
  const std::vector<std::pair<int32_t, std::string>> at_the_end = {
      {0, "ALFA"}, {10600, "STAZIONE DI TESTA DEL CAPOLINEA"}, {11200, "BIVIO DEL CAPOLINEA"},
      {11800, "CAPOLINEA SCALO MERCI E SMISTAMENTO"}};
  struct Case {
    const char* what;
    int32_t length_m;
    std::vector<std::pair<int32_t, std::string>> stations;
    PlotView view;
  };
  const Case cases[] = {
      {"twelve stations a kilometre apart", 12000, twelve, {}},
      {"twelve stations a kilometre apart on a longer route", 60000, twelve, {}},
      {"stations near the route's end", 12000, at_the_end, {}},
      {"stations near the end of a longer route", 60000, at_the_end, {}},
      {"a window, in kilometre readings", 60000, twelve, {1500, 9500, true}},
      {"a window at the route's end", 12000, at_the_end, {10000, std::nullopt, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LoadedScenario s = crowded_scenario(c.length_m, c.stations);
    ASSERT_EQ(stations_of(s.cells, s.records, KilometreReadings(s.records)).size(), c.stations.size())
        << "the sources compile whole";
    const std::string svg = render_route_svg(s, c.view);
    ASSERT_TRUE(well_formed_xml(svg));
    const Picture picture = picture_of(svg);
    expect_texts_inside_and_apart(picture);
    expect_every_mark_in_legend(picture);
    expect_labels_clear(svg, 0);
    std::vector<std::string> in_window;
    for (const auto& [position, name] : c.stations)
      if (position >= c.view.from_m.value_or(0) && position <= c.view.to_m.value_or(c.length_m))
        in_window.push_back(name);
    expect_every_station_named(svg, in_window);
  }
}

// Names wider than the page are cut short with an ellipsis, in the title and in the key.
TEST(RoutePlot, NamesWiderThanThePageAreCutShort) {
  const std::string long_name(300, 'W');
  LoadedScenario s = crowded_scenario(12000, {{0, "ALFA"}, {6000, long_name}, {11000, "OMEGA"}});
  s.name = long_name;
  const std::string svg = render_route_svg(s);
  expect_texts_inside_and_apart(picture_of(svg));
  EXPECT_NE(svg.find("WWW\xE2\x80\xA6 – train 1"), std::string::npos) << "the title";
  EXPECT_NE(svg.find("2 WWW"), std::string::npos) << "the key";
}

// Two indicator boards 50 m apart: both texts in their marks' titles, escaped, and as labels
// that keep apart.
TEST(RoutePlot, IndicatorBoardsShowTheirTexts) {
  const std::string svg = render_route_svg(crowded_scenario(12000, twelve_stations_a_kilometre_apart()));
  EXPECT_NE(svg.find("<title>(Km. 9.400)</title>"), std::string::npos);
  EXPECT_NE(svg.find("<title>A &amp; B &lt;ovest&gt;</title>"), std::string::npos);
  EXPECT_NE(svg.find(">(Km. 9.400)</text>"), std::string::npos);
  EXPECT_NE(svg.find(">A &amp; B &lt;ovest&gt;</text>"), std::string::npos);
}

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
  const std::string marks = svg.substr(0, svg.find("class=\"legend\""));
  for (size_t at = marks.find("class=\"slowdown\""); at != std::string::npos; at = marks.find("class=\"slowdown\"", at + 1)) {
    const size_t w = marks.rfind("width=\"", at) + 7;
    widths.push_back(std::stod(marks.substr(w)));
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
  const Picture picture = picture_of(svg);
  expect_texts_inside_and_apart(picture);
  expect_every_mark_in_legend(picture);
  EXPECT_TRUE(picture.legend_marks.contains("kilometre-post-change"));
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

// The quick answer for a segment beside a label's box agrees with clipping it, at the box's
// edges too, where a segment that only touches counts as crossing.
TEST(RoutePlot, ALabelBoxIsCrossedAsClippingTellsIt) {
  const Box box{10, 20, 30, 40};
  const double nan = std::nan("");
  const std::vector<std::array<double, 4>> segments = {
      {0, 0, 5, 5},           {0, 30, 10, 30},        {0, 30, 9.9999999, 30},  {40, 30, 50, 30},
      {40.0000001, 0, 50, 70}, {20, 60, 20, 70},       {20, 60.0000001, 20, 70}, {0, 19.999999, 50, 19.999999},
      {0, 0, 50, 50},         {5, 25, 15, 15},        {9, 19, 9, 19},           {25, 40, 25, 40},
      {1e12, 1e12, -1e12, -1e12}, {nan, 30, 20, 30},  {20, nan, 20, 30},        {-5, 65, 15, 55}};
  for (const auto& [x1, y1, x2, y2] : segments)
    EXPECT_EQ(box.crossed_by(x1, y1, x2, y2), box.clipped_by(x1, y1, x2, y2)) << x1 << " " << y1 << " " << x2 << " " << y2;
}

// A run of the curve band holds the metres whose turnings take the same words: told without
// making them, it must agree with the words, at the edge of their last digit too.
TEST(RoutePlot, TurningsOfTheSameWordsAreTold) {
  const double nan = std::nan("");
  const std::vector<std::pair<double, double>> pairs = {
      {0.00001, -0.00001},        {0.001, 0.00100001},       {0.001, -0.001},          {0.003, 0.00301},
      {0.0005, 0.0005000004},     {0.0005, 0.0005000006},    {0.0005004999, 0.0005005001}, {0.0005005, 0.0005005},
      {0.0005005, 0.00050049999}, {-0.0007, -0.0007000001},  {0.00002, 0.0000199},     {nan, nan},
      {nan, 0.0005},              {1e300, 1e300},            {0.0015, 0.0015000000001}};
  for (const auto& [a, b] : pairs) {
    EXPECT_EQ(same_turning_text(a, b), turning_text(a) == turning_text(b)) << a << " " << b;
    EXPECT_EQ(same_turning_text(b, a), turning_text(a) == turning_text(b)) << b << " " << a;
  }
}

}  // namespace
}  // namespace scenario
