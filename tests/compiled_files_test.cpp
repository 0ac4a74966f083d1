#include "format/compiled_files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "compiler/compile_entry.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "postpass/competition_codes.hpp"

namespace scenario {
namespace {

std::string hex(std::string_view bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

ScenarioModel model_with_cells(int32_t last_cell) {
  ScenarioModel model;
  model.scenario_name = "Milano_Tortona";
  model.scenario_number = "5";
  model.dimension_cells(last_cell);
  return model;
}

TEST(CompiledFiles, TrackCellsAreFifteenBytesEachInFieldOrder) {
  ScenarioModel model = model_with_cells(1780);
  TrackCell& c = model.cell(2);
  c = TrackCell{1, 0x0102, -2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::string bytes;
  encode_track_cells(model, bytes);
  ASSERT_EQ(bytes.size(), 26715u);
  EXPECT_EQ(hex(bytes.substr(30, 15)), "01 02 01 fe ff 03 00 04 00 05 06 07 08 09 0a");
}

TEST(CompiledFiles, RecordsWithEmptyTextsTake2958Bytes) {
  ScenarioModel model;
  std::string bytes;
  encode_records(model, bytes);
  EXPECT_EQ(bytes.size(), 2958u);
}

TEST(CompiledFiles, ScenarioHeaderRecordLaysOutItsFields) {
  ScenarioModel model = model_with_cells(1780);
  SimRecord& header = model.record(kScenarioNameSlot);
  header.text = "Milano_Tortona";
  header.start_m = 1;
  header.end_m = 59500;
  header.position_m = 31000;
  model.record(kScenarioNumberSlot).text = "5";
  ASSERT_EQ(stamp_header(model), std::nullopt);

  std::string bytes;
  encode_records(model, bytes);
  const size_t slot85 = 85 * kRecordFixedBytes;  // slots 0 to 84 have empty texts
  EXPECT_EQ(hex(bytes.substr(slot85, 48)),
            "00 01 00 00 00 6c e8 00 00 18 79 00 00 00 0e 00 " + hex("Milano_Tortona") +
                " 62 02 00 00 00 00 00 00 00 00 00 00 00 00 74 8a 00 00");
  EXPECT_EQ(bytes.size(), 2958u + 14 + 1);
}

TEST(CompiledFiles, LinePlanWritesTaggedValuesColumnByColumn) {
  LinePlan plan(10);
  plan.set_starting_points();
  plan.extend_through(8, 0.5);  // metre 2 turns to (0.5, 2)
  std::string bytes;
  encode_line_plan(plan, bytes);
  // Each column: two integers, seven doubles, two empty elements.
  EXPECT_EQ(bytes.size(), 2u * (8 + 7 * 10 + 4));
  EXPECT_EQ(hex(bytes.substr(0, 10)), "02 00 00 00 02 00 00 00 05 00");
  EXPECT_EQ(hex(bytes.substr(10, 8)), "00 00 00 00 00 00 e0 3f");  // 0.5
  const size_t y_column = bytes.size() / 2;
  EXPECT_EQ(hex(bytes.substr(y_column, 8)), "02 00 00 00 02 00 01 00");
  EXPECT_EQ(hex(bytes.substr(y_column - 4, 4)), "00 00 00 00");
}

TEST(CompiledFiles, FullLengthPlanOfTheBuiltInRouteHasItsKnownSize) {
  LinePlan plan(89000);
  plan.set_starting_points();
  plan.extend_through(89000 - 2, 0.0);
  std::string bytes;
  encode_line_plan(plan, bytes);
  EXPECT_EQ(bytes.size(), 1779964u);
}

TEST(CompiledFiles, WithoutAPlanTheOlderPlanFileIsLeftAsItWas) {
  const auto folder = std::filesystem::temp_directory_path() / ("compiled-files-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  ScenarioModel model = model_with_cells(140);
  model.plan_mode = 0;
  replace_file(folder / "Milano_Tortona_linea.dat", "older plan");

  write_compiled_files(model, folder);

  EXPECT_EQ(read_file(folder / "Milano_Tortona_5.dat"), std::string(15 * 141, '\0'));
  EXPECT_EQ(read_file(folder / "Milano_Tortona_5.sim").size(), 2958u);
  // Without a plan the older plan file is left as it was.
  EXPECT_EQ(read_file(folder / "Milano_Tortona_linea.dat"), "older plan");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace scenario
