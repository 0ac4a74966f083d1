#include <gtest/gtest.h>

#include <string>

#include "model/fault_table.hpp"
#include "sources/scenario_texts.hpp"
#include "tests/compile_fixture.hpp"
#include "tests/service_fixture.hpp"

namespace scenario {
namespace {

// What the built-in service source puts into a model of the built-in route (cells 0..1780),
// whichever way the model was dimensioned.
void expect_built_in_service(const ScenarioModel& model) {
  // Train data.
  EXPECT_EQ(model.record(84).start_m, 125);
  EXPECT_EQ(model.record(84).position_m, 12);
  EXPECT_EQ(model.record(86).p7, 300);
  EXPECT_EQ(model.record(86).p10, 18);
  EXPECT_EQ(model.record(86).p11, 14);
  EXPECT_EQ(model.record(86).p12, 15);

  // Speed: 30 km/h up to 1350 m, 80 km/h from 79400 m to the completion's end.
  for (int i = 0; i <= 26; ++i) EXPECT_EQ(model.cell(i).speed_limit, 6) << i;
  EXPECT_EQ(model.cell(27).speed_limit, 19);
  EXPECT_EQ(model.cell(1587).speed_limit, 30);
  for (int i = 1588; i <= 1777; ++i) ASSERT_EQ(model.cell(i).speed_limit, 16) << i;
  for (int i = 1778; i <= 1780; ++i) EXPECT_EQ(model.cell(i).speed_limit, 0) << i;

  // Adhesion.
  for (int i = 0; i <= 671; ++i) ASSERT_EQ(model.cell(i).adhesion, 100) << i;
  EXPECT_EQ(model.cell(672).adhesion, 95);
  EXPECT_EQ(model.cell(1394).adhesion, 80);
  EXPECT_EQ(model.cell(1396).adhesion, 97);
  for (int i = 1531; i <= 1777; ++i) ASSERT_EQ(model.cell(i).adhesion, 100) << i;
  EXPECT_EQ(model.cell(1778).adhesion, 0);

  // Stations.
  EXPECT_EQ(model.record(1).text, "MILANO CENTRALE");
  EXPECT_EQ(model.record(1).start_m, -800);
  EXPECT_EQ(model.record(1).end_m, 800);
  EXPECT_EQ(model.record(1).time_s, 65700);
  EXPECT_EQ(model.record(1).p5, 0);
  EXPECT_EQ(model.record(2).text, "MILANO C.LE");
  EXPECT_EQ(model.record(2).start_m, 1150);
  EXPECT_EQ(model.record(2).end_m, 1450);
  EXPECT_EQ(model.record(3).text, "MILANO LAMBRATE");
  EXPECT_EQ(model.record(3).start_m, 3450);
  EXPECT_EQ(model.record(3).end_m, 4150);
  EXPECT_EQ(model.record(3).p5, 1);
  EXPECT_EQ(model.record(5).text, "LOCATE TRIULZI");
  EXPECT_EQ(model.record(5).end_m, 18050);
  EXPECT_EQ(model.record(15).text, "TORTONA");
  EXPECT_EQ(model.record(15).time_s, 19 * 3600 + 9 * 60);
  EXPECT_EQ(model.record(16).text, "");
  EXPECT_EQ(model.cell(15).kind, kStationExit);
  EXPECT_EQ(model.cell(15).value1, 1);
  EXPECT_EQ(model.cell(82).kind, kStationExit);
  EXPECT_EQ(model.cell(82).value1, 3);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(model.cell(15 - k).approach, 80 + k);
    EXPECT_EQ(model.cell(82 - k).approach, 80 + k);
  }

  // Signals.
  EXPECT_EQ(model.cell(36).kind, kSignal);
  EXPECT_EQ(model.cell(36).value1, 40);
  EXPECT_EQ(model.cell(36).value4, 6);
  EXPECT_EQ(model.cell(58).value1, 42);
  EXPECT_EQ(model.cell(58).value4, 8);
  EXPECT_EQ(model.cell(173).kind, kSignal);
  EXPECT_EQ(model.cell(173).value1, 32);
  EXPECT_EQ(model.cell(173).value2, 11);
  EXPECT_EQ(model.cell(173).value3, 11);
  EXPECT_EQ(model.cell(173).signal_time, 240);
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(model.cell(36 - 2 * k).approach, 60 + k);
    EXPECT_EQ(model.cell(58 - 2 * k).approach, 80 + k);
    EXPECT_EQ(model.cell(173 - 2 * k).approach, 80 + k);
  }

  // The slowdown and the code reductions.
  EXPECT_EQ(model.cell(1029).kind, kSlowdownWarningBoard);
  EXPECT_EQ(model.cell(1053).kind, kSlowdownStart);
  EXPECT_EQ(model.cell(1058).kind, kSlowdownEnd);
  EXPECT_EQ(model.cell(1058).value1, 80);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(model.cell(1028 - i).kind, kApproachBoard);
    EXPECT_EQ(model.cell(1028 - i).value2, i + 1);
  }
  for (int i = 211; i <= 217; ++i) {
    EXPECT_EQ(model.cell(i).kind, kCodeReduction) << i;
    EXPECT_EQ(model.cell(i).value1, 270) << i;
  }
}

TEST(BuiltInServiceSource, ReadsWithoutFaultOntoTheBuiltInRoute) {
  ScenarioModel model = testing::route_model();
  CompileContext compile(model);
  const auto run = testing::read_service_text(compile, std::string(kServiceSourceText), 79);
  EXPECT_FALSE(run.failed);
  EXPECT_TRUE(run.discarded);
  EXPECT_EQ(compile.error_code, 0);
  expect_built_in_service(model);
}

TEST(BuiltInScenario, BothSourcesCompileWithoutFault) {
  const testing::CompiledTexts compiled =
      testing::compile_texts(std::string(kLineSourceText), std::string(kServiceSourceText));
  const ScenarioModel& model = compiled.model;
  EXPECT_EQ(compiled.error_code, 0);
  EXPECT_EQ(model.last_cell, 1780);
  expect_built_in_service(model);
  // What the line source put there stays beside the service's features.
  EXPECT_EQ(model.record(84).end_m, 82000);
  EXPECT_EQ(model.cell(17).kind, kSpeedLimitBoards);
  EXPECT_FALSE(model.record(80).text.empty());
  EXPECT_EQ(model.record(79), SimRecord{}) << "one board text, fifteen stations: the slots between stay empty";
  EXPECT_EQ(model.cell(1191).mountain, 2);
}

TEST(BuiltInScenario, AFault15LeftByTheLineSourceEndsTheServiceSourceAtItsFirstSlowdown) {
  // A gradient row too near the end of the cells ends the line source with fault 15; the
  // service source is still read, up to its first slowdown row, which is still placed.
  std::string line(kLineSourceText);
  line.insert(line.find("[fine]"), "pendenza,  88950,  0\n");
  const testing::CompiledTexts compiled = testing::compile_texts(line, std::string(kServiceSourceText));
  const ScenarioModel& model = compiled.model;
  EXPECT_EQ(compiled.error_code, fault_number(Fault::kBeyondTrack));
  EXPECT_EQ(compiled.error_position_m, 52600);
  EXPECT_EQ(model.record(15).text, "TORTONA");
  EXPECT_EQ(model.cell(1053).kind, kSlowdownStart);
  EXPECT_EQ(model.cell(36).kind, kFreeCell) << "the signals come after it";
  EXPECT_EQ(model.cell(1777).speed_limit, 0) << "no completion after a fault exit";
}

TEST(BuiltInScenario, ARunTimeFailureInTheServiceSourceDiscardsBothSources) {
  ScenarioModel model;
  model.scenario_name = "Milano_Tortona";
  model.scenario_number = "5";
  model.reset_records();
  SourceFile line = SourceFile::in_memory("Milano_Tortona_linea.txt", std::string(kLineSourceText));
  SourceFile service = SourceFile::in_memory("Milano_Tortona_5-.txt", "[generale]\nsabbia, 99999\n[fine]\n");
  CompileContext compile(model);
  memorizza_dati(compile, line, service);
  EXPECT_EQ(compile.error_code, fault_number(Fault::kRuntimeFailure));
  EXPECT_FALSE(line.exists());
  EXPECT_FALSE(service.exists());
  EXPECT_FALSE(compile.row_place.has_value());
}

}  // namespace
}  // namespace scenario
