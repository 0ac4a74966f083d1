#include <gtest/gtest.h>

#include <string>

#include "model/fault_table.hpp"
#include "tests/service_fixture.hpp"

namespace scenario {
namespace {

using testing::read_service_rows;
using testing::route_model;

// A station row with the built-in rows' small numbers; only what the area and the cells
// depend on is chosen.
std::string station(int32_t position, int type, int32_t length, int p6 = 0, const char* name = "X") {
  return "stazione, " + std::to_string(position) + ", " + std::to_string(type) + ", " + std::to_string(length) +
         ", 0, 1, " + std::to_string(p6) + ", 1,1,0, 4,1,1, 0, 0, 0, 0, " + name + "\n";
}

// A first station far back, so that the station under test is not the first one (slot 1
// clears p5 and p6).
const std::string kFirst = station(-5000, 25, 100, 0, "ORIGIN");

TEST(Stations, BuiltInRowsFillTheirSlotsAndMarkTheirExits) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  const auto run = read_service_rows(
      compile,
      "stazione,       0,  8,  800,  1, 1, 0,  4,1,0,  2,1,1,    1,  18,15, 0, MILANO CENTRALE\n"
      "stazione,    1300, 25,  300,  0, 0, 0,  0,0,0,  0,0,0,    1,   0, 0, 0, MILANO C.LE\n"
      "stazione,    3800,  2,  700,  0, 1, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, MILANO LAMBRATE\n"
      "stazione,    9550, 12,  600,  0, 1, 0,  1,1,0,  4,1,1,  130,   0, 0, 0, ROGOREDO\n"
      "stazione,   17750, 22,  500,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, LOCATE TRIULZI\n");
  EXPECT_EQ(compile.error_code, 0);
  EXPECT_TRUE(run.discarded);

  SimRecord first;
  first.station_type = 8;
  first.start_m = -800;
  first.end_m = 800;
  first.position_m = 0;
  first.p4 = 1;
  first.text = "MILANO CENTRALE";
  first.p7 = 4;
  first.p8 = 1;
  first.p9 = 0;
  first.p10 = 2;
  first.p11 = 1;
  first.p12 = 1;
  first.p13 = 1;
  first.time_s = 65700;  // p5 and p6 cleared in slot 1
  EXPECT_EQ(model.record(1), first);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(model.cell(15 - k).approach, 80 + k);
  EXPECT_EQ(model.cell(15).kind, kStationExit);
  EXPECT_EQ(model.cell(15).value1, 1);

  EXPECT_EQ(model.record(2).start_m, 1150);
  EXPECT_EQ(model.record(2).end_m, 1450);
  EXPECT_EQ(model.record(2).text, "MILANO C.LE");

  EXPECT_EQ(model.record(3).start_m, 3450);
  EXPECT_EQ(model.record(3).end_m, 4150);
  EXPECT_EQ(model.record(3).p5, 1) << "700 m keeps p5";
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(model.cell(82 - k).approach, 80 + k);
  EXPECT_EQ(model.cell(82).kind, kStationExit);
  EXPECT_EQ(model.cell(82).value1, 3);

  EXPECT_EQ(model.record(4).p13, 130);
  EXPECT_EQ(model.record(5).end_m, 18050) << "17750 + 250 + 50 for p6";
  EXPECT_EQ(model.record(5).p6, 1);
  EXPECT_EQ(model.record(5).p5, 0) << "500 m clears p5";
  EXPECT_EQ(model.record(6), SimRecord{});

  // MILANO C.LE (type 25) marks nothing: between the first two exits only approach codes.
  int exits = 0;
  for (const TrackCell& cell : model.cells) exits += cell.kind == kStationExit;
  EXPECT_EQ(exits, 4);
}

TEST(Stations, AreaAndCellsByType) {
  struct Case {
    const char* name;
    std::string row;
    int32_t start_m, end_m;
    uint8_t p5, p6;
    int exit_cell;            // −1: no cells
    int approach_codes;       // how many approach cells were written
  };
  const Case cases[] = {
      {"type 5: 150 m past the position, no approach codes", station(10000, 5, 1000, 1), 9000, 10150, 1, 0, 202, 0},
      {"type 6 likewise", station(10000, 6, 200, 0), 9800, 10150, 0, 0, 202, 0},
      {"type 7: the length on both sides", station(10000, 7, 600, 1), 9400, 10600, 1, 0, 211, 4},
      {"other types: half the length each side, p6 adds 50 m", station(10000, 22, 600, 1), 9700, 10350, 1, 1, 206,
       4},
      {"below 600 m p5 is cleared", station(10000, 12, 500), 9750, 10250, 0, 0, 204, 4},
      {"type 25 and above: no cells", station(10000, 200, 600), 9700, 10300, 1, 0, -1, 0},
      {"approach codes only above cell 1", station(100, 2, 300), -50, 250, 0, 0, 4, 2},
      {"type 25 at position 0 gives no fault", station(0, 25, 100), -50, 50, 0, 0, -1, 0},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    read_service_rows(compile, kFirst + c.row);
    EXPECT_EQ(compile.error_code, 0) << c.name;
    const SimRecord& s = model.record(2);
    EXPECT_EQ(s.start_m, c.start_m) << c.name;
    EXPECT_EQ(s.end_m, c.end_m) << c.name;
    EXPECT_EQ(s.p5, c.p5) << c.name;
    EXPECT_EQ(s.p6, c.p6) << c.name;
    int exits = 0, approaches = 0;
    for (const TrackCell& cell : model.cells) {
      exits += cell.kind == kStationExit;
      approaches += cell.approach != 0;
    }
    EXPECT_EQ(exits, c.exit_cell >= 0 ? 1 : 0) << c.name;
    EXPECT_EQ(approaches, c.approach_codes) << c.name;
    if (c.exit_cell < 0) continue;
    EXPECT_EQ(model.cell(c.exit_cell).kind, kStationExit) << c.name;
    EXPECT_EQ(model.cell(c.exit_cell).value1, 2) << c.name;
    for (int k = 1; k <= c.approach_codes; ++k) EXPECT_EQ(model.cell(c.exit_cell - k).approach, 80 + k) << c.name;
  }
}

TEST(Stations, TheExitMarkerTakesItsCellWhateverItHolds) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  read_service_rows(compile, "segnale, 700, 2, 4, 1, 1, 0, 0, 0,0,0, 0\n" + station(400, 22, 800));
  EXPECT_EQ(compile.error_code, 0);
  EXPECT_EQ(model.cell(15).kind, kStationExit);
  EXPECT_EQ(model.cell(15).value1, 1);
  EXPECT_EQ(model.cell(15).value4, 6) << "the rest of the signal's cell stays";
}

TEST(Stations, FaultsTable) {
  struct Case {
    const char* name;
    std::string rows;
    int error_code;
    int32_t error_position_m;  // 0: not set
    int32_t stored_position;   // what slot 2 holds afterwards
  };
  const Case cases[] = {
      {"position not a multiple of 50", station(75, 22, 200), fault_number(Fault::kStationPosition), 75, 75},
      {"length not a multiple of 100", station(10000, 22, 650), fault_number(Fault::kStationLength), 10000, 10000},
      {"area ends at 100 m", station(0, 2, 200), fault_number(Fault::kStationExitTooEarly), 0, 0},
      // The first area ends at 10300 m; the next starts at 10600 m, then at 10650 m.
      {"300 m after the previous area", station(10000, 22, 600) + station(10900, 22, 600), fault_number(Fault::kStationsTooClose),
       10900, 10000},
      {"350 m after the previous area is accepted", station(10000, 22, 600) + station(10950, 22, 600), 0, 0, 10000},
      {"too close to the end of the cells", station(88250, 22, 600), fault_number(Fault::kBeyondTrack), 88250, 88250},
      {"800 m before the end is accepted", station(88200, 22, 600), 0, 0, 88200},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    const auto run = read_service_rows(compile, kFirst + c.rows + "numero vetture, 12\n");
    EXPECT_EQ(compile.error_code, c.error_code) << c.name;
    EXPECT_EQ(compile.error_position_m, c.error_position_m) << c.name;
    EXPECT_EQ(model.record(2).position_m, c.stored_position) << c.name;
    EXPECT_TRUE(run.discarded) << c.name;
    EXPECT_EQ(model.record(84).position_m, c.error_code == 0 ? 12 : 0) << c.name;
  }
}

TEST(Stations, AfterAFaultExitWhatTheRowStoredStays) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  read_service_rows(compile, kFirst + station(10000, 22, 600) + station(10600, 12, 800, 0, "LATE"));
  EXPECT_EQ(compile.error_code, fault_number(Fault::kStationsTooClose));
  EXPECT_EQ(model.record(3).text, "LATE");
  // Its area ends at 11000 m: the exit marker in cell 219 and its approach codes stay.
  EXPECT_EQ(model.cell(219).kind, kStationExit);
  EXPECT_EQ(model.cell(219).value1, 3);
  EXPECT_EQ(model.cell(218).approach, 81);
}

TEST(Stations, StationsNeverReachTheBoardTexts) {
  struct Case {
    int32_t board_slot_counter;
    int accepted;  // stations read before fault 10
  };
  for (const Case c : {Case{80, 78}, Case{79, 77}, Case{2, 0}, Case{1, 0}, Case{0, 0}}) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    std::string rows;
    for (int i = 0; i < 80; ++i) rows += station(1000 * i, 30, 100, 0, ("S" + std::to_string(i + 1)).c_str());
    read_service_rows(compile, rows, c.board_slot_counter);
    EXPECT_EQ(compile.error_code, fault_number(Fault::kTooManyStations)) << c.board_slot_counter;
    EXPECT_EQ(compile.error_position_m, 0) << c.board_slot_counter;
    // The station that gives the fault is stored, unless its slot would be a board text's.
    const int stored = c.board_slot_counter >= 1 ? c.accepted + 1 : 0;
    for (int slot = 1; slot <= 80; ++slot) {
      const std::string expected = slot <= stored ? "S" + std::to_string(slot) : "";
      ASSERT_EQ(model.record(slot).text, expected) << c.board_slot_counter << " slot " << slot;
    }
  }
}

TEST(Stations, ValuesThatDoNotFitAreRunTimeFailures) {
  const char* rows[] = {
      "stazione, 1000, 256, 100, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, X\n",      // type is a byte
      "stazione, 1000, 22, 100, 0, 0, 0, 40000,0,0, 0,0,0, 0, 0, 0, 0, X\n",   // p7 is 16-bit
      "stazione, 1000, 22, 100, 0, 0, 0, 0,0,0, 0,0,0, -1, 0, 0, 0, X\n",      // p13 is a byte
      "stazione, 1000, 22, 100, 0, 0, 0, 0,0,0, 0,0,0, 0, 596523, 14, 8, X\n", // time_s overflows
      "stazione, 1000, 22, 2147483600, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, X\n", // area end overflows
      "stazione, 1000, 22, 400000, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0, 0, X\n",    // exit past the last cell
      "stazione, 1000, 22, 100, 0, 0, 0, 0,0,0, 0,0,0, 0, 0, 0\n",             // cut short by the end
  };
  for (const char* row : rows) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    const auto run = testing::read_service_text(compile, std::string("[generale]\n") + row);
    EXPECT_TRUE(run.failed) << row;
    EXPECT_EQ(model.record(1).position_m, 1000) << row;
  }
  ScenarioModel model = route_model();
  CompileContext compile(model);
  read_service_rows(compile, "stazione, 1000, 22, 100, 0, 0, 0, 0,0,0, 0,0,0, 0, 596523, 14, 7, X\n");
  EXPECT_EQ(model.record(1).time_s, 2147483647);
}

TEST(Stations, TheRowIsReadWholeBeforeItsTimeIsStored) {
  ScenarioModel model = route_model(340);  // a 10 000 m route
  CompileContext compile(model);
  const auto run = read_service_rows(compile, "stazione, 0, 25, 200, 0,0,0,0,0,0,0,0,0,0, 596524, 0, 0, X\n");
  EXPECT_TRUE(run.failed);
  EXPECT_EQ(model.record(1).text, "X");
  EXPECT_EQ(model.record(1).time_s, 0);

  // The hours alone pass 32 bits once multiplied; the whole time fits.
  ScenarioModel exact = route_model(340);
  CompileContext exact_compile(exact);
  read_service_rows(exact_compile, "stazione, 0, 25, 200, 0,0,0,0,0,0,0,0,0,0, 596524, 0, -3600, X\n");
  EXPECT_EQ(exact.record(1).time_s, 596523 * 3600);
}

}  // namespace
}  // namespace scenario
