#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/fault_table.hpp"
#include "tests/service_fixture.hpp"

namespace scenario {
namespace {

using testing::read_service_rows;
using testing::route_model;

constexpr uint8_t kUntouched = 0xEE;

// A small route whose cells carry a mark, so that every write of a fill shows.
ScenarioModel marked_model(int32_t last_cell) {
  ScenarioModel model = route_model(last_cell);
  CompileContext compile(model);
  for (TrackCell& cell : model.cells) cell.speed_limit = cell.adhesion = kUntouched;
  return model;
}

std::vector<int> speed_codes(const ScenarioModel& model) {
  std::vector<int> codes;
  for (const TrackCell& cell : model.cells) codes.push_back(cell.speed_limit);
  return codes;
}

std::vector<int> adhesions(const ScenarioModel& model) {
  std::vector<int> values;
  for (const TrackCell& cell : model.cells) values.push_back(cell.adhesion);
  return values;
}

TEST(SpeedFill, EachRowHoldsFromItsPositionAndTheCompletionStopsTwoCellsShort) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  const auto run = read_service_rows(compile, "velocita,   0,    30\nvelocita,    1350,    95\nvelocita, 79400, 80\n");
  EXPECT_EQ(compile.error_code, 0);
  EXPECT_TRUE(run.discarded);
  for (int i = 0; i <= 26; ++i) EXPECT_EQ(model.cell(i).speed_limit, 6) << i;
  for (int i = 27; i <= 1587; ++i) ASSERT_EQ(model.cell(i).speed_limit, 19) << i;
  for (int i = 1588; i <= 1777; ++i) ASSERT_EQ(model.cell(i).speed_limit, 16) << i;
  for (int i = 1778; i <= 1780; ++i) EXPECT_EQ(model.cell(i).speed_limit, 0) << i;
}

TEST(SpeedFill, CasesOnASmallRoute) {
  // last_cell 10: rows may stand up to 400 m (400 + 100 <= 500).
  struct Case {
    const char* name;
    std::string rows;
    std::vector<int> speeds;  // cells 0..10
  };
  const int u = kUntouched;
  const Case cases[] = {
      {"a first row beyond 25 m fills the cells before it with 0", "velocita, 200, 50\n",
       {0, 0, 0, 0, 10, 10, 10, 10, u, u, u}},
      {"a second row at the same position writes one cell with the first value",
       "velocita, 0, 50\nvelocita, 100, 60\nvelocita, 100, 70\n", {10, 10, 12, 14, 14, 14, 14, 14, u, u, u}},
      {"a row behind the cursor still writes one cell", "velocita, 0, 50\nvelocita, 300, 60\nvelocita, 100, 70\n",
       {10, 10, 10, 10, 10, 10, 12, 14, u, u, u}},
      {"the completion writes at least once", "velocita, 0, 50\nvelocita, 400, 60\n",
       {10, 10, 10, 10, 10, 10, 10, 10, 12, u, u}},
      {"speed / 5 rounds half to even", "velocita, 0, 97\nvelocita, 100, 98\nvelocita, 200, 12\n",
       {19, 19, 20, 20, 2, 2, 2, 2, u, u, u}},
      {"a negative position writes nothing, the completion writes its value", "velocita, -500, 40\n", {8, 8, 8, 8, 8, 8, 8, 8, u, u, u}},
      // Twelve rows at 400 m drive the cursor to the last cell: the fill stops there and the
      // completion writes the last cell only.
      {"the fill never writes at or past the last cell",
       "velocita, 0, 5\nvelocita, 400, 10\nvelocita, 400, 15\nvelocita, 400, 20\nvelocita, 400, 25\n"
       "velocita, 400, 30\nvelocita, 400, 35\nvelocita, 400, 40\n",
       {1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 8}},
  };
  for (const Case& c : cases) {
    ScenarioModel model = marked_model(10);
    CompileContext compile(model);
    const auto run = read_service_rows(compile, c.rows);
    EXPECT_FALSE(run.failed) << c.name;
    EXPECT_EQ(compile.error_code, 0) << c.name;
    EXPECT_EQ(speed_codes(model), c.speeds) << c.name;
  }
}

TEST(AdhesionFill, KeepsTheLowEightBitsAndStopsAtTheLastCellLikeTheSpeed) {
  ScenarioModel model = marked_model(10);
  CompileContext compile(model);
  std::string rows = "aderenza, 0, 300\n";
  for (int i = 0; i < 12; ++i) rows += "aderenza, 400, " + std::to_string(90 + i) + "\n";
  const auto run = read_service_rows(compile, rows);
  EXPECT_FALSE(run.failed);
  // 300 keeps 44; the rows at 400 m advance the cursor one cell each up to cell 9, and the
  // completion writes the last cell with the last value.
  EXPECT_EQ(adhesions(model), (std::vector<int>{44, 44, 44, 44, 44, 44, 44, 44, 90, 91, 101}));
  // The speed completion ran too, from cell 0 with the initial value 0.
  EXPECT_EQ(model.cell(0).speed_limit, 0);
  EXPECT_EQ(model.cell(7).speed_limit, 0);
  EXPECT_EQ(model.cell(8).speed_limit, kUntouched);
}

TEST(AdhesionFill, BuiltInListOnTheBuiltInRoute) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  read_service_rows(compile,
                    "aderenza,   0,    100\naderenza,   33600,    95\naderenza,   36950,   100\n"
                    "aderenza,   76550,   100\n");
  EXPECT_EQ(model.cell(0).adhesion, 100);
  EXPECT_EQ(model.cell(671).adhesion, 100);
  EXPECT_EQ(model.cell(672).adhesion, 95);
  EXPECT_EQ(model.cell(738).adhesion, 95);
  EXPECT_EQ(model.cell(739).adhesion, 100);
  for (int i = 1531; i <= 1777; ++i) ASSERT_EQ(model.cell(i).adhesion, 100) << i;
  EXPECT_EQ(model.cell(1778).adhesion, 0);
}

TEST(Fills, BoundsFaultEndsReadingButTheCompletionsStillRun) {
  struct Case {
    const char* row;
    int32_t position;
  };
  for (const Case& c : {Case{"velocita, 88950, 100\n", 88950}, Case{"aderenza, 88950, 100\n", 88950}}) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    const auto run = read_service_rows(compile, std::string("velocita, 0, 50\naderenza, 0, 70\n") + c.row +
                                                  "numero vetture, 12\n");
    EXPECT_EQ(compile.error_code, fault_number(Fault::kBeyondTrack)) << c.row;
    EXPECT_EQ(compile.error_position_m, c.position) << c.row;
    EXPECT_TRUE(run.discarded) << c.row;
    EXPECT_EQ(model.record(84).position_m, 0) << "rows after the fault are not read";
    EXPECT_EQ(model.cell(1777).speed_limit, 10) << c.row;
    EXPECT_EQ(model.cell(1777).adhesion, 70) << c.row;
  }
  ScenarioModel model = route_model();
  CompileContext compile(model);
  read_service_rows(compile, "velocita, 79400, 80\n");
  EXPECT_EQ(compile.error_code, 0) << "79400 + 100 <= 89000 is accepted";
}

TEST(Fills, ASpeedThatDoesNotFitItsByteIsARunTimeFailure) {
  for (const char* rows : {"velocita, 0, 1280\nvelocita, 100, 50\n", "velocita, 0, -10\nvelocita, 100, 50\n",
                           "velocita, 0, 1280\n"}) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    EXPECT_TRUE(read_service_rows(compile, rows).failed) << rows;
  }
  ScenarioModel model = route_model();
  CompileContext compile(model);
  EXPECT_FALSE(read_service_rows(compile, "velocita, 0, 1277\n").failed) << "1277 / 5 rounds to 255";
  // The completion fails before it writes its first cell.
  ScenarioModel marked = marked_model(10);
  CompileContext marked_compile(marked);
  EXPECT_TRUE(read_service_rows(marked_compile, "velocita, 0, 1280\n").failed);
  EXPECT_EQ(speed_codes(marked), std::vector<int>(11, kUntouched));
}

}  // namespace
}  // namespace scenario
