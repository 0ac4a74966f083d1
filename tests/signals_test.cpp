#include <gtest/gtest.h>

#include <string>

#include "compiler/signals.hpp"
#include "model/fault_table.hpp"
#include "tests/service_fixture.hpp"

namespace scenario {
namespace {

using testing::read_service_rows;
using testing::route_model;

TEST(Signals, BuiltInRowsPackTheirValuesAndMarkFourApproachCells) {
  struct Case {
    const char* row;
    int cell;
    int16_t value1, value2, value3, value4;
    uint8_t signal_time;
    uint8_t first_approach;  // in cell − 2; the next three count up every two cells back
  };
  const Case cases[] = {
      {"segnale,    1750,   2, 4, 1,  1, 0,    0,  0,0,0, 0\n", 36, 40, 10, 10, 6, 0, 61},
      {"segnale,    2850,   2, 4, 1,  1, 0,    2,  2,1,1, 0\n", 58, 42, 11, 11, 8, 0, 81},
      {"segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240\n", 173, 32, 11, 11, 8, 240, 81},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    const auto run = read_service_rows(compile, c.row);
    EXPECT_EQ(compile.error_code, 0) << c.row;
    EXPECT_TRUE(run.discarded);
    const TrackCell& cell = model.cell(c.cell);
    EXPECT_EQ(cell.kind, kSignal) << c.row;
    EXPECT_EQ(cell.value1, c.value1) << c.row;
    EXPECT_EQ(cell.value2, c.value2) << c.row;
    EXPECT_EQ(cell.value3, c.value3) << c.row;
    EXPECT_EQ(cell.value4, c.value4) << c.row;
    EXPECT_EQ(cell.signal_time, c.signal_time) << c.row;
    for (int k = 1; k <= 4; ++k) {
      EXPECT_EQ(model.cell(c.cell - 2 * k).approach, c.first_approach + k - 1) << c.row << " k " << k;
      EXPECT_EQ(model.cell(c.cell - 2 * k).kind, kFreeCell) << c.row;
    }
    EXPECT_EQ(model.cell(c.cell - 1).approach, 0) << c.row;
    EXPECT_EQ(model.cell(c.cell - 10).approach, 0) << c.row;
  }
}

TEST(Signals, TempoIsAdjustedAndKeptOnlyForSx2) {
  struct Case {
    int32_t sx, tempo;
    uint8_t signal_time;
    int32_t adjusted_tempo;
  };
  const Case cases[] = {
      {2, 30, 101, 101}, {2, 1, 101, 101},  {2, 100, 101, 101}, {2, 101, 101, 101}, {2, 0, 0, 0},
      {2, -5, 251, -5},  {2, 300, 44, 300}, {0, 240, 0, 240},   {0, 30, 0, 101},    {1, 120, 0, 120},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    SignalRow row{8600, c.sx, 3, 1, 1, 0, 2, 2, 1, 1, c.tempo};
    memo_segnale(compile, row);
    EXPECT_EQ(model.cell(173).signal_time, c.signal_time) << c.sx << " " << c.tempo;
    EXPECT_EQ(row.tempo, c.adjusted_tempo) << c.sx << " " << c.tempo;
  }
}

TEST(Signals, ValuesKeepTheirLowSixteenBitsAndApproachCodesTheirLowEight) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  SignalRow row{8600, 30, 7000, -4000, 3276, 1, 0, 0, 0, 8, 0};
  memo_segnale(compile, row);
  const TrackCell& cell = model.cell(173);
  EXPECT_EQ(cell.value1, 4464);    // 70000 − 65536
  EXPECT_EQ(cell.value2, 25536);   // −40000 + 65536
  EXPECT_EQ(cell.value3, -32768);  // 32768 − 65536
  EXPECT_EQ(cell.value4, 100);     // 1 × 10 + 30 × 3
  EXPECT_EQ(model.cell(171).approach, 133);  // 90 × 10 + 1 = 901, low 8 bits
}

TEST(Signals, CellRulesAndFaults) {
  struct Case {
    const char* name;
    uint8_t kind_in_cell_36;
    int error_code;
    uint8_t kind_after;
  };
  const Case cases[] = {
      {"empty cell", kFreeCell, 0, kSignal},
      {"a mountain marker is replaced", kMountainMarker, 0, kSignal},
      {"a station exit marker refuses the signal", kStationExit, fault_number(Fault::kSignalOccupied), kStationExit},
      {"a slowdown start refuses it", kSlowdownStart, fault_number(Fault::kSignalOccupied), kSlowdownStart},
      {"an indicator board refuses it", kIndicatorBoard, fault_number(Fault::kSignalOccupied), kIndicatorBoard},
      {"another signal refuses it", kSignal, fault_number(Fault::kSignalOccupied), kSignal},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    model.cell(36).kind = c.kind_in_cell_36;
    const auto run = read_service_rows(compile, "segnale, 1750, 2, 4, 1, 1, 0, 0, 0,0,0, 0\nnumero vetture, 12\n");
    EXPECT_EQ(compile.error_code, c.error_code) << c.name;
    EXPECT_EQ(model.cell(36).kind, c.kind_after) << c.name;
    EXPECT_TRUE(run.discarded) << c.name;
    if (c.error_code == 0) continue;
    EXPECT_EQ(compile.error_position_m, 1750) << c.name;
    EXPECT_EQ(model.cell(36).value1, 0) << c.name << ": nothing written";
    EXPECT_EQ(model.cell(34).approach, 0) << c.name << ": nothing written";
    EXPECT_EQ(model.record(84).position_m, 0) << c.name << ": the rows after it are not read";
    EXPECT_EQ(model.cell(0).speed_limit, 0) << c.name;
  }
}

TEST(Signals, ASignalOneHundredMetresBehindAnotherOnlySetsItsApproachCode) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  read_service_rows(compile, "segnale, 1750, 2, 4, 1, 1, 0, 0, 0,0,0, 0\nsegnale, 1850, 2, 4, 1, 1, 0, 2, 2,1,1, 0\n");
  EXPECT_EQ(compile.error_code, 0);
  EXPECT_EQ(model.cell(36).kind, kSignal);
  EXPECT_EQ(model.cell(36).value1, 40);
  EXPECT_EQ(model.cell(36).approach, 81);
  EXPECT_EQ(model.cell(38).value1, 42);
}

TEST(Signals, BoundsAndTheStandingFault) {
  {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    const auto run = read_service_rows(compile, "segnale, 88950, 2, 4, 1, 1, 0, 0, 0,0,0, 0\nnumero vetture, 12\n");
    EXPECT_EQ(compile.error_code, fault_number(Fault::kBeyondTrack));
    EXPECT_EQ(compile.error_position_m, 88950);
    EXPECT_TRUE(run.discarded);
    EXPECT_EQ(model.record(84).position_m, 0);
  }
  {
    // A fault 15 left by the line source: the first signal is still placed, then the
    // service source ends at once with the signal's position and no completion.
    ScenarioModel model = route_model();
    CompileContext compile(model);
    compile.error_code = fault_number(Fault::kBeyondTrack);
    compile.error_position_m = 80000;
    const auto run = read_service_rows(
        compile, "velocita, 0, 50\nvelocita, 500, 60\nsegnale, 1750, 2, 4, 1, 1, 0, 0, 0,0,0, 0\nnumero vetture, 12\n");
    EXPECT_EQ(compile.error_code, fault_number(Fault::kBeyondTrack));
    EXPECT_EQ(compile.error_position_m, 1750);
    EXPECT_TRUE(run.discarded);
    EXPECT_EQ(model.cell(36).kind, kSignal);
    EXPECT_EQ(model.cell(9).speed_limit, 10);
    EXPECT_EQ(model.cell(10).speed_limit, 0) << "no completion after a fault exit";
    EXPECT_EQ(model.record(84).position_m, 0);
  }
}

TEST(Signals, ApproachCellsBeforeCellZeroAreARunTimeFailureAfterTheCellsBeforeThem) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  const auto run = read_service_rows(compile, "segnale, 200, 2, 4, 1, 1, 0, 2, 2,1,1, 0\n");
  EXPECT_TRUE(run.failed);
  EXPECT_EQ(model.cell(5).kind, kSignal);
  EXPECT_EQ(model.cell(3).approach, 81);
  EXPECT_EQ(model.cell(1).approach, 82);
  EXPECT_EQ(model.cell(0).approach, 0);
}

}  // namespace
}  // namespace scenario
