#include "compiler/line_features.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "compiler/plan_curves.hpp"
#include "model/runtime_failure.hpp"
#include "sources/scenario_texts.hpp"
#include "tests/compile_fixture.hpp"
#include "tests/model_fixture.hpp"

namespace scenario {
namespace {

// The scenario's own line source, compiled once for the worked examples.
const testing::CompiledTexts& scenario_compile() {
  static const testing::CompiledTexts compiled = testing::compile_texts(std::string(kLineSourceText), "");
  return compiled;
}
const ScenarioModel& scenario_model() { return scenario_compile().model; }

void expect_gradient(const ScenarioModel& model, int64_t first, int64_t last, int expected) {
  for (int64_t c = first; c <= last; ++c) {
    ASSERT_EQ(model.cell(c).gradient, expected) << "cell " << c;
  }
}

TEST(LineFeaturesScenario, Gradients) {
  const ScenarioModel& model = scenario_model();
  ASSERT_EQ(scenario_compile().error_code, 0);
  expect_gradient(model, 0, 23, 100);
  expect_gradient(model, 24, 34, 105);
  expect_gradient(model, 35, 463, 100);   // 1750 to 23200 at 0
  expect_gradient(model, 464, 727, 99);   // 23200 to 36400 at -1
  expect_gradient(model, 1382, 1576, 106);
  expect_gradient(model, 1577, 1777, 100);  // the completion
  expect_gradient(model, 1778, 1780, 0);
}

TEST(LineFeaturesScenario, PlanFromCurves) {
  const LinePlan& plan = scenario_model().line_plan;
  EXPECT_TRUE(plan.has_starting_points());
  EXPECT_EQ(plan.computed_end(), 88999);  // metres 88999 and 89000 stay empty
  const std::vector<PlanPoint> point = testing::plan_points(plan);
  ASSERT_EQ(point.size(), 88999u);
  EXPECT_EQ(point[1000].x, 0.0);
  EXPECT_EQ(point[1000].y, 1000.0);
  EXPECT_DOUBLE_EQ(point[1001].x, 0.003);
  EXPECT_DOUBLE_EQ(point[1001].y, 1001.0);
  // The curve bends to the right: x grows ever faster, y a little slower than the metres.
  EXPECT_GT(point[1400].x - point[1399].x, point[1001].x - point[1000].x);
  // After the last curve the track runs straight on.
  const PlanPoint a = point[77601], b = point[77602], z = point[88998];
  EXPECT_NEAR(z.x - a.x, (b.x - a.x) * (88998 - 77601), 1e-6);
  EXPECT_NEAR(z.y - a.y, (b.y - a.y) * (88998 - 77601), 1e-6);
}

TEST(LineFeaturesScenario, MountainAndBoards) {
  const ScenarioModel& model = scenario_model();
  EXPECT_EQ(model.mountain_count, 1);
  EXPECT_EQ(model.mountain_start[1], 59500);
  EXPECT_EQ(model.mountain_end[1], 59650);
  EXPECT_EQ(model.cell(1189).mountain, 0);
  for (int c = 1190; c <= 1192; ++c) EXPECT_EQ(model.cell(c).mountain, 2) << c;
  EXPECT_EQ(model.cell(1193).mountain, 0);

  const TrackCell& first = model.cell(17);
  EXPECT_EQ(first.kind, kSpeedLimitBoards);
  EXPECT_EQ((std::array<int16_t, 4>{first.value1, first.value2, first.value3, first.value4}),
            (std::array<int16_t, 4>{600, 600, 600, 0}));
  const TrackCell& both_sides = model.cell(1549);
  EXPECT_EQ(both_sides.kind, kSpeedLimitBoards);
  EXPECT_EQ((std::array<int16_t, 4>{both_sides.value1, both_sides.value2, both_sides.value3, both_sides.value4}),
            (std::array<int16_t, 4>{1616, 1616, 1616, 22}));
  EXPECT_EQ(model.cell(1274).value1, 2828);  // 63650: 140 left and right

  EXPECT_EQ(model.cell(1220).kind, kIndicatorBoard);
  EXPECT_EQ(model.cell(1220).value1, 80);
  EXPECT_EQ(model.record(80).text, "(Km. 2.256)");
  EXPECT_EQ(model.record(79).text, "");
}

// A model of 200 cells (route extent 10000 m, plan dimensioned), as the general section
// leaves it.
struct SmallRoute : ::testing::Test {
  ScenarioModel model;
  CompileContext compile{model};
  void SetUp() override {
    model.plan_mode = 1;
    model.route_extent_m = 10000;
    model.dimension_cells(200);
    model.line_plan = LinePlan(10000);
  }
};

TEST_F(SmallRoute, SetUpNeedsTheCells) {
  ScenarioModel without_length;
  CompileContext without_length_compile(without_length);
  EXPECT_THROW(LineFeatures{without_length_compile}, RuntimeFailure);
  model.mountain_count = 5;
  LineFeatures features(compile);
  EXPECT_EQ(model.mountain_count, 0);
  EXPECT_EQ(model.line_plan.computed_end(), 2);
  EXPECT_EQ(features.board_slot_counter(), 80);
}

TEST_F(SmallRoute, BoundsTestForEveryRow) {
  // 50 × 200 = 10000: a position of 9900 is accepted, 9901 ends the reading with fault 15.
  struct Case {
    const char* row;
    std::function<RowOutcome(LineFeatures&, int32_t)> call;
  };
  const Case cases[] = {
      {"pendenza", [](LineFeatures& f, int32_t p) { return f.gradient_row(p, 5); }},
      {"curva", [](LineFeatures& f, int32_t p) { return f.curve_row("curvad1", p, 0); }},
      {"montagna", [](LineFeatures& f, int32_t p) { return f.mountain_row(p, p + 50, 1); }},
      {"indicatori_vmax", [](LineFeatures& f, int32_t p) { return f.speed_limit_board_row({p, 30, 30, 30}); }},
      {"cartello_indicatore", [](LineFeatures& f, int32_t p) { return f.indicator_board_row(p, "x"); }},
  };
  for (const Case& c : cases) {
    SetUp();
    compile.error_code = 0;
    LineFeatures features(compile);
    const RowOutcome inside = c.call(features, 9900);
    EXPECT_TRUE(inside.goes_on() && !inside.fault) << c.row;
    const ScenarioModel before = model;
    const RowOutcome beyond = c.call(features, 9901);
    EXPECT_EQ(beyond.next, RowOutcome::Next::kEndReading) << c.row;
    ASSERT_TRUE(beyond.fault) << c.row;
    EXPECT_EQ(beyond.fault->fault, Fault::kBeyondTrack) << c.row;
    EXPECT_EQ(beyond.fault->position_m, 9901) << c.row;
    EXPECT_EQ(model.cells, before.cells) << c.row << " wrote past the bounds test";
    EXPECT_EQ(model.line_plan.computed_end(), before.line_plan.computed_end()) << c.row;
  }
  // No overflow in the test itself.
  LineFeatures features(compile);
  EXPECT_EQ(features.gradient_row(2147483647, 0).next, RowOutcome::Next::kEndReading);
}

TEST_F(SmallRoute, GradientFillWritesAtLeastOnceAndKeepsTheLowBits) {
  LineFeatures features(compile);
  features.gradient_row(0, -100);    // n = 0: nothing written
  features.gradient_row(100, 155);   // cells 0, 1 get -100 + 100
  features.gradient_row(100, 156);   // same position: one more cell, with 155
  features.gradient_row(250, 0);     // cells 3, 4 with 156 + 100 = 256, low bits 0
  features.gradient_row(250, 7);     // one more cell, cell 5 with 0 + 100
  EXPECT_EQ(model.cell(0).gradient, 0);
  EXPECT_EQ(model.cell(1).gradient, 0);
  EXPECT_EQ(model.cell(2).gradient, 255);
  EXPECT_EQ(model.cell(3).gradient, 0);
  EXPECT_EQ(model.cell(4).gradient, 0);
  EXPECT_EQ(model.cell(5).gradient, 100);
  EXPECT_EQ(features.gradient_cursor(), 6);
  features.gradient_row(-500, 1);  // a position below 0 writes nothing
  EXPECT_EQ(features.gradient_cursor(), 6);
  features.complete();
  EXPECT_EQ(model.cell(6).gradient, 101);
  EXPECT_EQ(model.cell(197).gradient, 101);
  EXPECT_EQ(model.cell(198).gradient, 0);
  EXPECT_EQ(model.cell(200).gradient, 0);
}

TEST_F(SmallRoute, GradientFillNeverWritesPastTheLastCell) {
  LineFeatures features(compile);
  features.gradient_row(9900, 3);
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(features.gradient_row(50, 4).goes_on());
  EXPECT_EQ(features.gradient_cursor(), 208);
  EXPECT_EQ(model.cell(198).gradient, 103);
  EXPECT_EQ(model.cell(200).gradient, 104);
  EXPECT_NO_THROW(features.complete());  // writes nothing more, moves the cursor once
  EXPECT_EQ(features.gradient_cursor(), 209);
}

TEST_F(SmallRoute, CompletionWritesOneCellWhenTheCursorIsAlreadyAtTheEnd) {
  LineFeatures features(compile);
  features.gradient_row(9900, 2);  // cursor at 198
  features.complete();
  EXPECT_EQ(model.cell(197).gradient, 100);
  EXPECT_EQ(model.cell(198).gradient, 102);
  EXPECT_EQ(model.cell(199).gradient, 0);
}

TEST_F(SmallRoute, CurvesBendThePlanMetreByMetre) {
  LineFeatures features(compile);
  EXPECT_TRUE(features.curve_row("curvaS3", 100, 10).goes_on());  // "S" in any case: left
  EXPECT_EQ(model.line_plan.computed_end(), 111);
  std::vector<PlanPoint> point = testing::plan_points(model.line_plan);
  EXPECT_EQ(point[100].x, 0.0);
  EXPECT_EQ(point[100].y, 100.0);
  EXPECT_DOUBLE_EQ(point[101].x, -0.0004);
  // The step is not brought back to unit length: it grows by sqrt(1 + k²) each metre.
  const PlanPoint a = point[109], b = point[110];
  EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), std::pow(std::sqrt(1 + 0.0004 * 0.0004), 10), 1e-12);

  // A curve that begins below the cursor bends only from the cursor on.
  features.curve_row("curvad6", 50, 65);
  EXPECT_EQ(model.line_plan.computed_end(), 116);
  const double dx = b.x - a.x, dy = b.y - a.y;
  point = testing::plan_points(model.line_plan);
  EXPECT_DOUBLE_EQ(point[111].x, b.x + dx + 0.003 * dy);
  // One that ends below the cursor changes nothing.
  features.curve_row("curvad6", 10, 20);
  EXPECT_EQ(model.line_plan.computed_end(), 116);

  features.complete();
  EXPECT_EQ(model.line_plan.computed_end(), 9999);
}

TEST(PlanCurves, CurvatureOfAKeyword) {
  struct Case {
    const char* keyword;
    std::optional<double> curvature;
  };
  const Case cases[] = {
      {"curvad1", 0.0001},  {"curvad2", 0.0002},  {"curvad3", 0.0004},  {"curvad4", 0.001},
      {"curvad5", 0.002},   {"curvad6", 0.003},   {"curvas6", -0.003},  {"CURVAS3", -0.0004},
      {"curvad12", 0.0001}, {"curvad61", 0.0001}, {"curvad", std::nullopt}, {"curvad7", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(curvature_of(c.keyword), c.curvature) << c.keyword;
}

TEST_F(SmallRoute, CurvesThatLeaveThePlanFail) {
  LineFeatures features(compile);
  EXPECT_TRUE(features.curve_row("curvad1", 9000, 1000).goes_on());  // up to the last metre
  EXPECT_THROW(features.curve_row("curvad1", 9900, 101), RuntimeFailure);
  EXPECT_EQ(model.line_plan.computed_end(), 10001);  // what was computed stays
  ScenarioModel fresh = model;
  fresh.line_plan = LinePlan(10000);
  CompileContext fresh_compile(fresh);
  LineFeatures from_start(fresh_compile);
  EXPECT_THROW(from_start.curve_row("curvad1", 10, 2147483647), RuntimeFailure);  // P + LEN overflows
}

TEST_F(SmallRoute, MountainTypesAndMarkers) {
  model.cell(107).kind = kSignal;
  model.cell(105).kind = kMountainMarker;
  LineFeatures features(compile);
  features.mountain_row(5000, 5600, 12);  // cells 100 to 111, type 2 with markers
  for (int c = 100; c <= 111; ++c) EXPECT_EQ(model.cell(c).mountain, 2) << c;
  EXPECT_EQ(model.cell(99).mountain, 0);
  EXPECT_EQ(model.cell(112).mountain, 0);
  EXPECT_EQ(model.cell(103).kind, kMountainMarker);
  EXPECT_EQ(model.cell(107).kind, kSignal);  // a signal stays
  EXPECT_EQ(model.cell(111).kind, kMountainMarker);
  EXPECT_EQ(model.cell(104).kind, kFreeCell);

  features.mountain_row(5750, 6000, 5);  // starts 150 m after the last end: type 3
  EXPECT_EQ(model.cell(115).mountain, 3);
  features.mountain_row(6151, 6300, 5);  // 151 m after: keeps its type
  EXPECT_EQ(model.cell(123).mountain, 5);
  features.mountain_row(7000, 7000, 300);  // first cell beyond the last: nothing written
  EXPECT_EQ(model.cell(140).mountain, 0);
  features.mountain_row(8000, 8100, 300);  // 300 - 10 = 290, of which the low 8 bits stay
  EXPECT_EQ(model.cell(160).mountain, 34);
  EXPECT_EQ(model.mountain_count, 5);
  EXPECT_EQ(model.mountain_start[5], 8000);
}

TEST_F(SmallRoute, MountainsThatLeaveTheArraysFail) {
  LineFeatures features(compile);
  EXPECT_THROW(features.mountain_row(9800, 10200, 1), RuntimeFailure);
  EXPECT_EQ(model.cell(200).mountain, 1);  // what was written stays
  for (int i = model.mountain_count; i < 80; ++i) features.mountain_row(100 * i, 100 * i + 50, 1);
  EXPECT_EQ(model.mountain_count, 80);
  EXPECT_THROW(features.mountain_row(9000, 9050, 1), RuntimeFailure);  // an 81st stretch
  EXPECT_EQ(model.mountain_count, 80);
  EXPECT_EQ(model.cell(180).mountain, 0);
}

TEST_F(SmallRoute, SpeedLimitBoards) {
  model.cell(2).kind = kMountainMarker;
  LineFeatures features(compile);
  EXPECT_TRUE(features.speed_limit_board_row({25, 140, 97, 3, 2, 140, 98, 2, 1}).goes_on());  // 1.5 → cell 2
  const TrackCell& cell = model.cell(2);
  EXPECT_EQ(cell.kind, kSpeedLimitBoards);
  EXPECT_EQ(cell.value1, 2828);
  EXPECT_EQ(cell.value2, 1940 + 20);  // 98 / 5 = 19.6 rounds to 20
  EXPECT_EQ(cell.value3, 60);         // 2 / 5 = 0.4 rounds to 0
  EXPECT_EQ(cell.value4, 21);
  // 75 lands in cell 2 too (2.5 rounds to even): the cell is taken.
  const RowOutcome taken = features.speed_limit_board_row({75, 30});
  EXPECT_EQ(taken.next, RowOutcome::Next::kStop);
  ASSERT_TRUE(taken.fault);
  EXPECT_EQ(fault_number(taken.fault->fault), 21);
  EXPECT_EQ(taken.fault->position_m, 75);
  EXPECT_EQ(model.cell(2).value1, 2828);
}

TEST_F(SmallRoute, SpeedLimitBoardValueThatDoesNotFitFailsAtThatValue) {
  LineFeatures features(compile);
  EXPECT_NO_THROW(features.speed_limit_board_row({500, 1638, 0, 0, 0, 35}));  // 32767 fits
  EXPECT_EQ(model.cell(11).value1, 32767);
  EXPECT_THROW(features.speed_limit_board_row({1000, 30, 1639}), RuntimeFailure);
  EXPECT_EQ(model.cell(21).kind, kSpeedLimitBoards);  // kind and value1 stay
  EXPECT_EQ(model.cell(21).value1, 600);
  EXPECT_EQ(model.cell(21).value2, 0);
  EXPECT_THROW(features.speed_limit_board_row({2000, 0, 0, 0, 3277, 0, 0, 0, -10}), RuntimeFailure);  // 32770 on 16 bits
  EXPECT_THROW(features.speed_limit_board_row({3000, 0, 0, 0, 0, 0, 0, 0, 40000}), RuntimeFailure);
}

TEST_F(SmallRoute, IndicatorBoards) {
  model.cell(5).kind = kMountainMarker;
  model.cell(7).kind = kSpeedLimitBoards;
  LineFeatures features(compile);
  EXPECT_TRUE(features.indicator_board_row(200, "(Km. 1.000)").goes_on());  // replaces the marker
  EXPECT_TRUE(features.indicator_board_row(250, "second").goes_on());
  EXPECT_EQ(model.cell(5).kind, kIndicatorBoard);
  EXPECT_EQ(model.cell(5).value1, 80);
  EXPECT_EQ(model.cell(6).value1, 79);
  EXPECT_EQ(model.record(80).text, "(Km. 1.000)");
  EXPECT_EQ(model.record(79).text, "second");
  EXPECT_EQ(features.board_slot_counter(), 78);

  const RowOutcome taken = features.indicator_board_row(300, "on a board");
  EXPECT_EQ(taken.next, RowOutcome::Next::kStop);
  ASSERT_TRUE(taken.fault);
  EXPECT_EQ(fault_number(taken.fault->fault), 6);
  EXPECT_EQ(taken.fault->position_m, 300);
  EXPECT_EQ(model.record(78).text, "");
  EXPECT_EQ(features.board_slot_counter(), 78);

  EXPECT_THROW(features.indicator_board_row(400, std::string(65536, 'x')), RuntimeFailure);
  EXPECT_EQ(model.cell(9).kind, kFreeCell);
}

TEST_F(SmallRoute, AnEightyFirstIndicatorBoardFailsBeforeAnythingIsWritten) {
  LineFeatures features(compile);
  for (int i = 0; i < 80; ++i) ASSERT_TRUE(features.indicator_board_row(100 * i, "b").goes_on());
  EXPECT_EQ(features.board_slot_counter(), 0);
  EXPECT_EQ(model.record(1).text, "b");
  EXPECT_THROW(features.indicator_board_row(9000, "too many"), RuntimeFailure);
  EXPECT_EQ(model.cell(181).kind, kFreeCell);
  EXPECT_EQ(model.record(0).text, "");
}

}  // namespace
}  // namespace scenario
