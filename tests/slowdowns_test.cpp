#include <gtest/gtest.h>

#include <string>

#include "compiler/slowdowns.hpp"
#include "model/rounding.hpp"
#include "model/fault_table.hpp"
#include "tests/service_fixture.hpp"

namespace scenario {
namespace {

using testing::read_service_rows;
using testing::route_model;

void expect_cell(const ScenarioModel& model, int index, uint8_t kind, int16_t value1, int16_t value2, int16_t value3) {
  const TrackCell& cell = model.cell(index);
  EXPECT_EQ(cell.kind, kind) << "cell " << index;
  EXPECT_EQ(cell.value1, value1) << "cell " << index;
  EXPECT_EQ(cell.value2, value2) << "cell " << index;
  EXPECT_EQ(cell.value3, value3) << "cell " << index;
}

TEST(Slowdowns, BuiltInSlowdownGetsItsWarningBoardAndFourApproachBoards) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  const auto run = read_service_rows(compile, "rallentamento,   52600,    80,  250, 0,  1,  80\n");
  EXPECT_EQ(compile.error_code, 0);
  EXPECT_TRUE(run.discarded);
  expect_cell(model, 1029, kSlowdownWarningBoard, 80, 80, 0);
  expect_cell(model, 1053, kSlowdownStart, 80, 80, 0);
  expect_cell(model, 1058, kSlowdownEnd, 80, 80, 0);
  for (int i = 0; i < 4; ++i) expect_cell(model, 1028 - i, kApproachBoard, int16_t(i + 1), int16_t(i + 1), 0);
  EXPECT_EQ(model.cell(1024).kind, kFreeCell);
  EXPECT_EQ(model.cell(1030).kind, kFreeCell);
}

TEST(Slowdowns, WarningBoardOnlyBeyond1500MetresAndSecondValueOnlyWithDv) {
  struct Case {
    const char* name;
    SlowdownRow row;
    int warning_cell;      // −1: none
    int first_board_cell;  // −1: none
  };
  const Case cases[] = {
      {"at 1500 m neither warning nor approach boards", {1500, 60, 100, 3, 1, 0}, -1, -1},
      {"at 1550 m both", {1550, 60, 100, 3, 1, 0}, 8, 7},
      {"without f_ta only the warning board", {1550, 60, 100, 3, 0, 0}, 8, -1},
      // 425 / 50 + 1 = 9.5 gives W 10, 425 / 50 = 8.5 gives the first board 8: cell 9 stays free.
      {"a position off the 50 m grid rounds each cell half to even", {1625, 60, 100, 3, 1, 7}, 10, 8},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    for (TrackCell& cell : model.cells) cell.value2 = 99;  // shows where value2 is written
    EXPECT_FALSE(memo_rallentamento(compile, c.row)) << c.name;
    const int16_t second = c.row.d_v != 0 ? static_cast<int16_t>(c.row.d_v) : 99;
    const int start = static_cast<int>(cell_after_position(c.row.x));
    const int end = static_cast<int>(cell_after_position(c.row.x + c.row.l));
    expect_cell(model, start, kSlowdownStart, 60, second, 3);
    expect_cell(model, end, kSlowdownEnd, 60, second, 3);
    int placed = 2;
    if (c.warning_cell >= 0) {
      expect_cell(model, c.warning_cell, kSlowdownWarningBoard, 60, second, 0);
      ++placed;
    }
    if (c.first_board_cell >= 0) {
      for (int i = 0; i < 4; ++i) {
        const int16_t board_second = c.row.d_v != 0 ? int16_t(i + 1) : 99;
        expect_cell(model, c.first_board_cell - i, kApproachBoard, int16_t(i + 1), board_second, 0);
      }
      placed += 4;
    }
    int occupied = 0;
    for (const TrackCell& cell : model.cells) occupied += cell.kind != kFreeCell;
    EXPECT_EQ(occupied, placed) << c.name;
  }
}

TEST(Slowdowns, AnOffGridPositionCanRoundTheFirstApproachBoardOntoTheWarningBoard) {
  // 375 / 50 + 1 = 8.5 and 375 / 50 = 7.5 both round to 8.
  ScenarioModel model = route_model();
  CompileContext compile(model);
  const std::optional<RowFault> fault = memo_rallentamento(compile, SlowdownRow{1575, 60, 100, 3, 1, 0});
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->fault, Fault::kApproachBoardsOccupied);
  EXPECT_EQ(model.cell(8).kind, kSlowdownWarningBoard);
  EXPECT_EQ(model.cell(7).kind, kFreeCell);
}

TEST(Slowdowns, OfLengthZeroTheOneCellIsAStart) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  memo_rallentamento(compile, SlowdownRow{5000, 30, 0, 1, 0, 0});
  expect_cell(model, 101, kSlowdownStart, 30, 0, 1);
}

TEST(Slowdowns, OccupiedCellsEndTheSourceWithTheirFault) {
  struct Case {
    const char* name;
    int occupied_cell;
    uint8_t kind;
    int error_code;
    bool writes_stay;  // W, S and E already written when the fault comes
  };
  // The slowdown at 52600 m: W 1029, S 1053, E 1058, boards 1028 to 1025.
  const Case cases[] = {
      {"warning cell holds a signal", 1029, kSignal, fault_number(Fault::kWarningBoardOccupied), false},
      {"start cell holds a signal", 1053, kSignal, fault_number(Fault::kSlowdownStartOccupied), false},
      {"end cell holds a station exit", 1058, kStationExit, fault_number(Fault::kSlowdownEndOccupied), false},
      {"an approach board cell holds a code reduction", 1026, kCodeReduction, fault_number(Fault::kApproachBoardsOccupied), true},
      {"a mountain marker is overwritten", 1053, kMountainMarker, 0, true},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    model.cell(c.occupied_cell).kind = c.kind;
    const auto run = read_service_rows(compile, "velocita, 0, 50\nrallentamento, 52600, 80, 250, 0, 1, 80\n"
                                              "numero vetture, 12\n");
    EXPECT_EQ(compile.error_code, c.error_code) << c.name;
    EXPECT_TRUE(run.discarded) << c.name;
    EXPECT_EQ(model.cell(1053).kind == kSlowdownStart, c.writes_stay) << c.name;
    EXPECT_EQ(model.cell(1058).kind == kSlowdownEnd, c.writes_stay) << c.name;
    EXPECT_EQ(model.cell(1029).kind == kSlowdownWarningBoard, c.writes_stay) << c.name;
    EXPECT_EQ(model.cell(1028).kind, c.error_code == 0 ? kApproachBoard : kFreeCell) << c.name;
    if (c.error_code == 0) continue;
    EXPECT_EQ(compile.error_position_m, 52600) << c.name;
    EXPECT_EQ(model.record(84).position_m, 0) << c.name << ": rows after it not read";
    EXPECT_EQ(model.cell(1777).speed_limit, 0) << c.name << ": no completion";
  }
}

TEST(Slowdowns, BoundsEndsAndTheStandingFault) {
  {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    read_service_rows(compile, "rallentamento, 88950, 80, 250, 0, 1, 80\n");
    EXPECT_EQ(compile.error_code, fault_number(Fault::kBeyondTrack));
    EXPECT_EQ(compile.error_position_m, 88950);
  }
  {
    // The end cell past the last cell is found by the free-cell test: nothing is written.
    ScenarioModel model = route_model();
    CompileContext compile(model);
    const auto run = read_service_rows(compile, "rallentamento, 52600, 80, 40000, 0, 1, 80\n");
    EXPECT_TRUE(run.failed);
    EXPECT_EQ(model.cell(1053).kind, kFreeCell);
    EXPECT_EQ(model.cell(1029).kind, kFreeCell);
  }
  {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    compile.error_code = fault_number(Fault::kBeyondTrack);
    const auto run = read_service_rows(compile, "rallentamento, 52600, 80, 250, 0, 1, 80\nnumero vetture, 12\n");
    EXPECT_EQ(compile.error_code, fault_number(Fault::kBeyondTrack));
    EXPECT_EQ(compile.error_position_m, 52600);
    EXPECT_EQ(model.cell(1053).kind, kSlowdownStart);
    EXPECT_EQ(model.record(84).position_m, 0);
    EXPECT_TRUE(run.discarded);
  }
}

TEST(CodeReductions, BuiltInRowsAndTheirCellRules) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  std::string rows;
  for (int position = 10550; position <= 10850; position += 50)
    rows += "abbattimento,   " + std::to_string(position) + ",   270\n";
  rows += "abbattimento, 52600, 0\nabbattimento, 60000, -5\n";
  model.cell(1052).value1 = 44;
  model.cell(1200).kind = kMountainMarker;
  read_service_rows(compile, rows + "abbattimento, 60075, 70000\n");
  EXPECT_EQ(compile.error_code, 0);
  for (int i = 211; i <= 217; ++i) expect_cell(model, i, kCodeReduction, 270, 0, 0);
  EXPECT_EQ(model.cell(210).kind, kFreeCell);
  EXPECT_EQ(model.cell(218).kind, kFreeCell);
  expect_cell(model, 1052, kCodeReductionNonPositive, 44, 0, 0);  // value1 left alone
  expect_cell(model, 1200, kCodeReductionNonPositive, 0, 0, 0);   // over a mountain marker
  expect_cell(model, 1202, kCodeReduction, 4464, 0, 0);           // 1201.5 rounds to 1202; 70000 keeps 16 bits
}

TEST(CodeReductions, FaultsTable) {
  struct Case {
    const char* name;
    const char* row;
    uint8_t kind_in_cell_1052;
    int error_code;
    int32_t position;
  };
  const Case cases[] = {
      {"on a signal", "abbattimento, 52600, 180\n", kSignal, fault_number(Fault::kCodeReductionOccupied), 52600},
      {"on another code reduction", "abbattimento, 52600, 180\n", kCodeReduction, fault_number(Fault::kCodeReductionOccupied), 52600},
      {"on a code reduction of value 0", "abbattimento, 52600, 180\n", kCodeReductionNonPositive,
       fault_number(Fault::kCodeReductionOccupied), 52600},
      {"beyond the cells", "abbattimento, 88950, 180\n", kFreeCell, fault_number(Fault::kBeyondTrack), 88950},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    model.cell(1052).kind = c.kind_in_cell_1052;
    const auto run = read_service_rows(compile, std::string(c.row) + "numero vetture, 12\n");
    EXPECT_EQ(compile.error_code, c.error_code) << c.name;
    EXPECT_EQ(compile.error_position_m, c.position) << c.name;
    EXPECT_EQ(model.cell(1052).kind, c.kind_in_cell_1052) << c.name;
    EXPECT_EQ(model.cell(1052).value1, 0) << c.name;
    EXPECT_EQ(model.record(84).position_m, 0) << c.name;
    EXPECT_TRUE(run.discarded) << c.name;
  }
}

}  // namespace
}  // namespace scenario
