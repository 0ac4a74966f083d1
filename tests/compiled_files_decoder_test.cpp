#include "format/compiled_files_decoder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "driver/build_run.hpp"
#include "format/byte_writer.hpp"
#include "format/file_io.hpp"
#include "format/scenario_files.hpp"
#include "format/compiled_files.hpp"
#include "tests/model_fixture.hpp"
#include "tests/temp_folder.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

struct Encoded {
  std::string cells, records, plan;
};

Encoded encode(const ScenarioModel& model) {
  Encoded e;
  encode_track_cells(model, e.cells);
  encode_records(model, e.records);
  encode_line_plan(model.line_plan, e.plan);
  return e;
}

// Every element of the plan with its tag, for comparing two plans.
std::vector<PlanElement> elements(const LinePlan& plan) {
  std::vector<PlanElement> out;
  for (int axis = 0; axis < 2; ++axis)
    for (int64_t m = 0; m <= plan.extent_m(); ++m) out.push_back(plan.element(m, axis));
  return out;
}

// model -> bytes -> model -> bytes: the decoded containers equal the originals and encode
// to the very same bytes.
void expect_round_trip(const ScenarioModel& model) {
  const Encoded first = encode(model);
  ScenarioModel decoded;
  decoded.cells = decode_track_cells(first.cells);
  decoded.sim_records = decode_records(first.records);
  decoded.line_plan = decode_line_plan(first.plan);
  EXPECT_EQ(decoded.cells, model.cells);
  EXPECT_EQ(decoded.sim_records, model.sim_records);
  EXPECT_EQ(decoded.line_plan.dimensioned(), model.line_plan.dimensioned());
  EXPECT_EQ(decoded.line_plan.extent_m(), model.line_plan.extent_m());
  EXPECT_EQ(decoded.line_plan.computed_end(), model.line_plan.computed_end());
  EXPECT_EQ(elements(decoded.line_plan), elements(model.line_plan));
  const Encoded second = encode(decoded);
  EXPECT_EQ(second.cells, first.cells);
  EXPECT_EQ(second.records, first.records);
  EXPECT_EQ(second.plan, first.plan);
}

TEST(CompiledFilesDecoder, HandMadeModelRoundTrips) { expect_round_trip(testing::sample_model()); }

TEST(CompiledFilesDecoder, BuiltInScenarioRoundTrips) {
  const testing::TempFolder folder;
  std::ostringstream progress;
  ScenarioModel model;
  ASSERT_EQ(run_builtin_build(model, folder.path(), progress).status, CompileStatus::kCompiled);
  expect_round_trip(model);
  // The files on disk decode to the very model they were written from.
  const ScenarioFileNames names = scenario_file_names(model.scenario_name, model.scenario_number);
  EXPECT_EQ(decode_track_cells(read_file(folder.path() / names.track_cells)), model.cells);
  EXPECT_EQ(decode_records(read_file(folder.path() / names.records)), model.sim_records);
  EXPECT_EQ(elements(decode_line_plan(read_file(folder.path() / names.line_plan))), elements(model.line_plan));
}

TEST(CompiledFilesDecoder, GeneratedModelsRoundTrip) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    expect_round_trip(testing::random_model(seed));
  }
}

TEST(CompiledFilesDecoder, EmptyContainersRoundTrip) {
  ScenarioModel model;  // no cells, records all zero, plan never dimensioned
  expect_round_trip(model);
  model.line_plan = LinePlan(0);  // dimensioned but never computed: one empty x and y
  expect_round_trip(model);
  model.line_plan = LinePlan(1);
  model.line_plan.set_starting_points();  // starting points only
  expect_round_trip(model);
}

TEST(CompiledFilesDecoder, NonFiniteCoordinatesKeepTheirBits) {
  ScenarioModel model;
  model.line_plan = LinePlan(5);
  model.line_plan.set_starting_points();
  model.line_plan.append_point(std::nan(""), -0.0);
  model.line_plan.append_point(INFINITY, 1e-310);
  std::string first, second;
  encode_line_plan(model.line_plan, first);
  encode_line_plan(decode_line_plan(first), second);
  EXPECT_EQ(second, first);  // NaN is unequal to itself, so compare the bytes
}

// The offset and the reason of a decode failure.
template <typename Decode>
void expect_failure(Decode decode, const std::string& bytes, size_t offset, const std::string& reason_part) {
  try {
    decode(bytes);
    ADD_FAILURE() << "decoded without complaint";
  } catch (const DecodeError& e) {
    EXPECT_EQ(e.offset(), offset) << e.what();
    EXPECT_TRUE(testing::contains(std::string(e.what()), reason_part));
    EXPECT_EQ(std::string(e.what()).rfind("byte " + std::to_string(offset) + ": ", 0), 0u) << e.what();
  }
}

const auto kCells = [](const std::string& b) { decode_track_cells(b); };
const auto kRecords = [](const std::string& b) { decode_records(b); };
const auto kPlan = [](const std::string& b) { decode_line_plan(b); };

TEST(CompiledFilesDecoder, TruncatedTrackCellsNameTheFieldAndCell) {
  const std::string bytes = encode(testing::sample_model()).cells;
  // Cell 2 starts at byte 30; kind, value1..value3 take 7 bytes, value4 starts at 37.
  expect_failure(kCells, bytes.substr(0, 38), 37, "field value4: it needs 2 bytes, 1 left (track cell 2)");
  expect_failure(kCells, bytes.substr(0, bytes.size() - 1), bytes.size() - 1, "field adhesion");
}

TEST(CompiledFilesDecoder, EveryTruncationOfTheRecordsIsRefused) {
  const std::string bytes = encode(testing::sample_model()).records;
  for (size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    EXPECT_THROW(decode_records(bytes.substr(0, length)), DecodeError);
  }
  // Record 1 starts at 34 (record 0 has no text); its 7-byte text starts at 34 + 16.
  expect_failure(kRecords, bytes.substr(0, 34 + 16 + 3), 34 + 16, "field text: it needs 7 bytes, 3 left (record 1)");
  expect_failure(kRecords, bytes + "xy", bytes.size(), "2 bytes after the last of the 87 records");
}

// A plan file built element by element: {tag, value} with value ignored for empties.
std::string plan_bytes(const std::vector<std::pair<int, double>>& elements) {
  std::string out;
  encode_into_string(out, [&](ByteSink& sink) {
    ByteWriter w(sink);
    for (const auto& [tag, value] : elements) {
      w.u16(static_cast<uint16_t>(tag));
      if (tag == 2) w.i16(static_cast<int16_t>(value));
      if (tag == 5) w.f64(value);
    }
  });
  return out;
}

TEST(CompiledFilesDecoder, PlanLayoutsTheEncoderNeverWritesAreRefused) {
  constexpr int E = 0, I = 2, D = 5;
  struct Case {
    const char* what;
    std::vector<std::pair<int, double>> elements;
    size_t offset;
    const char* reason;
  };
  // Sizes: empty 2 bytes, integer 4, double 10.
  const std::vector<Case> cases = {
      {"unknown tag", {{I, 0}, {I, 0}, {3, 0}, {E, 0}, {I, 0}, {I, 1}, {D, 1}, {E, 0}}, 8, "unknown tag 3"},
      {"odd count", {{I, 0}, {I, 0}, {E, 0}}, 10, "3 plan elements"},
      {"double at metre 0", {{D, 1}, {E, 0}, {D, 1}, {E, 0}}, 0, "tag 5 (double) where the layout allows 2 (integer)"},
      {"one starting point", {{I, 0}, {E, 0}, {I, 0}, {E, 0}}, 4, "tag 0 (empty) where the layout allows 2 (integer)"},
      {"integer after the start", {{I, 0}, {I, 0}, {I, 0}, {I, 0}, {I, 1}, {E, 0}}, 8, "where the layout allows 5 (double)"},
      {"double after an empty", {{I, 0}, {I, 0}, {E, 0}, {D, 1}, {I, 0}, {I, 1}, {E, 0}, {D, 1}}, 10,
       "tag 5 (double) where the layout allows 0 (empty)"},
      {"doubles without a start", {{E, 0}, {E, 0}, {D, 1}, {E, 0}, {E, 0}, {D, 1}}, 4, "allows 0 (empty)"},
      {"y computed further than x", {{I, 0}, {I, 0}, {D, 1}, {E, 0}, {I, 0}, {I, 1}, {D, 2}, {D, 3}}, 38,
       "tag 5 (double) where the x column has 0 (empty)"},
      {"y without its start", {{I, 0}, {I, 0}, {E, 0}, {E, 0}}, 8, "tag 0 (empty) where the x column has 2 (integer)"},
      {"x starting point not 0", {{I, 0}, {I, 4}, {I, 0}, {I, 1}}, 6, "starting point 4"},
      {"y starting point not 1", {{I, 0}, {I, 0}, {I, 0}, {I, 0}}, 14, "starting point 0"},
      {"truncated double", {{I, 0}, {I, 0}, {D, 1}}, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = plan_bytes(c.elements);
    if (std::string(c.what) == "truncated double") {
      bytes.resize(bytes.size() - 3);  // the double of metre 2 loses its last 3 bytes
      expect_failure(kPlan, bytes, 10, "field double: it needs 8 bytes, 5 left (plan element 2)");
      continue;
    }
    expect_failure(kPlan, bytes, c.offset, c.reason);
  }
}

TEST(CompiledFilesDecoder, PlanFailuresNameColumnAndMetre) {
  // x: int, int, double, empty; y: int, int (value 1), empty where x has a double.
  const std::string bytes = plan_bytes({{2, 0}, {2, 0}, {5, 1.5}, {0, 0}, {2, 0}, {2, 1}, {0, 0}, {0, 0}});
  expect_failure(kPlan, bytes, 28, "(y, metre 2)");
}

}  // namespace
}  // namespace scenario
