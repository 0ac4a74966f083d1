#include "format/compiled_files_decoder.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "driver/build_run.hpp"
#include "format/byte_writer.hpp"
#include "format/file_io.hpp"
#include "format/line_plan_decoder.hpp"
#include "format/line_plan_points.hpp"
#include "format/line_plan_reader.hpp"
#include "format/plan_bytes.hpp"
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

// The points a plan file holds, in order.
std::vector<PlanPoint> file_points(const PlanBytes& bytes) {
  std::vector<PlanPoint> points;
  LinePlanPoints reader(bytes);
  for (PlanPoint p; reader.next(p);) points.push_back(p);
  return points;
}

void expect_same_points(const std::vector<PlanPoint>& read, const std::vector<PlanPoint>& made) {
  ASSERT_EQ(read.size(), made.size());
  for (size_t i = 0; i < read.size(); ++i) {
    ASSERT_EQ(std::bit_cast<uint64_t>(read[i].x), std::bit_cast<uint64_t>(made[i].x)) << "metre " << i;
    ASSERT_EQ(std::bit_cast<uint64_t>(read[i].y), std::bit_cast<uint64_t>(made[i].y)) << "metre " << i;
  }
}

void expect_decoded_as_by_elements(const PlanBytes& bytes, size_t block);

// The plan file holds the plan's layout and, bit for bit, the points the plan makes.
void expect_plan_file_holds(const std::string& bytes, const LinePlan& plan) {
  const LinePlanLayout layout = decode_line_plan(bytes);
  EXPECT_EQ(layout.extent_m, plan.dimensioned() ? plan.extent_m() : -1);
  EXPECT_EQ(layout.computed_points(), plan.has_starting_points() ? plan.computed_end() : 0);
  expect_same_points(file_points(bytes), testing::plan_points(plan));
}

// model -> bytes -> model -> bytes: the decoded containers equal the originals and encode
// to the very same bytes; the plan file holds the plan's points.
void expect_round_trip(const ScenarioModel& model) {
  const Encoded first = encode(model);
  ScenarioModel decoded;
  decoded.cells = decode_track_cells(first.cells);
  decoded.sim_records = decode_records(first.records);
  EXPECT_EQ(decoded.cells, model.cells);
  EXPECT_EQ(decoded.sim_records, model.sim_records);
  expect_plan_file_holds(first.plan, model.line_plan);
  const Encoded second = encode(decoded);
  EXPECT_EQ(second.cells, first.cells);
  EXPECT_EQ(second.records, first.records);
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
  expect_plan_file_holds(read_file(folder.path() / names.line_plan), model.line_plan);
}

TEST(CompiledFilesDecoder, APlanFileIsReadInPartsAsItIsInMemory) {
  // Long enough for a column to be read in many parts.
  LinePlan plan(200000);
  plan.set_starting_points();
  plan.extend_through(100000, 0.001);
  plan.extend_through(199998, 0.0);
  std::string bytes;
  encode_line_plan(plan, bytes);
  const testing::TempFolder folder;
  const std::filesystem::path file = folder.path() / "Long_linea.dat";
  replace_file(file, bytes);
  expect_same_points(file_points(PlanBytes::of_file(file)), testing::plan_points(plan));
  // A window that ends inside an element, and points asked for a few at a time.
  expect_decoded_as_by_elements(PlanBytes::of_file(file), 7);

  // A tag broken deep in the y column is found at its byte either way.
  const size_t broken = bytes.size() / 2 + 2 * 4 + 150000 * 10;  // y, metre 150002
  bytes[broken] = 7;
  replace_file(file, bytes);
  for (const PlanBytes& source : {PlanBytes(bytes), PlanBytes::of_file(file)}) {
    SCOPED_TRACE(source.in_memory() ? "in memory" : "from the file");
    try {
      file_points(source);
      ADD_FAILURE() << "read without complaint";
    } catch (const DecodeError& e) {
      EXPECT_EQ(e.offset(), broken);
      EXPECT_TRUE(testing::contains(e.what(), "unknown tag 7")) << e.what();
      EXPECT_TRUE(testing::contains(e.what(), "(y, metre 150002)")) << e.what();
    }
  }
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

TEST(CompiledFilesDecoder, NonFiniteCoordinatesKeepTheirBits) {
  const double values[] = {std::nan(""), -0.0, INFINITY, 1e-310};
  const std::string bytes = plan_bytes({{2, 0}, {2, 0}, {5, values[0]}, {5, values[2]},  // x
                                        {2, 0}, {2, 1}, {5, values[1]}, {5, values[3]}});
  EXPECT_EQ(decode_line_plan(bytes).computed_points(), 4);
  const std::vector<PlanPoint> read = file_points(bytes);
  ASSERT_EQ(read.size(), 4u);
  for (size_t i = 0; i < 2; ++i) {  // NaN is unequal to itself, so compare the bits
    EXPECT_EQ(std::bit_cast<uint64_t>(read[2 + i].x), std::bit_cast<uint64_t>(values[2 * i]));
    EXPECT_EQ(std::bit_cast<uint64_t>(read[2 + i].y), std::bit_cast<uint64_t>(values[2 * i + 1]));
  }
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

struct DamagedPlan {
  const char* what;
  std::vector<std::pair<int, double>> elements;
  size_t offset;
  const char* reason;
};

// Sizes: empty 2 bytes, integer 4, double 10.
std::vector<DamagedPlan> damaged_plans() {
  constexpr int E = 0, I = 2, D = 5;
  return {
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
}

TEST(CompiledFilesDecoder, PlanLayoutsTheEncoderNeverWritesAreRefused) {
  for (const DamagedPlan& c : damaged_plans()) {
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

// The points of a plan file as the element reader reads them, or its refusal.
struct ElementReading {
  std::vector<PlanPoint> points;
  int64_t metres = 0;
  std::string refusal;
};

ElementReading read_by_elements(const PlanBytes& bytes) {
  ElementReading reading;
  try {
    for (LinePlanReader reader(bytes); !reader.at_end();) {
      const LinePlanReader::Metre m = reader.next();
      if (m.x.tag == PlanElement::kInt16) reading.points.push_back({double(m.x.integer), double(m.y.integer)});
      if (m.x.tag == PlanElement::kDouble) reading.points.push_back({m.x.real, m.y.real});
      reading.metres = reader.metres_read();
    }
  } catch (const DecodeError& e) {
    reading.refusal = e.what();
  }
  return reading;
}

// The block decoder, a block of `block` points at a time, gives the element reader's points
// bit for bit, or its very refusal.
void expect_decoded_as_by_elements(const PlanBytes& bytes, size_t block) {
  SCOPED_TRACE("blocks of " + std::to_string(block));
  const ElementReading expected = read_by_elements(bytes);
  std::vector<PlanPoint> points;
  try {
    LinePlanDecoder decoder(bytes);
    std::vector<PlanPoint> part(block);
    for (size_t n; (n = decoder.next(part)) > 0;) points.insert(points.end(), part.begin(), part.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_EQ(decoder.metre(), static_cast<int64_t>(points.size()));
    EXPECT_EQ(decoder.metres(), expected.metres);
    // The count a reader that checks as it reads is given, from a few tags.
    EXPECT_EQ(probed_computed_points(bytes), static_cast<int64_t>(points.size()));
    EXPECT_EQ(expected.refusal, "") << "the element reader refuses it";
  } catch (const DecodeError& e) {
    EXPECT_EQ(std::string(e.what()), expected.refusal);
    return;
  }
  expect_same_points(points, expected.points);
}

TEST(CompiledFilesDecoder, TheBlockDecoderReadsAndRefusesAsTheElementReader) {
  constexpr int E = 0, I = 2, D = 5;
  std::vector<std::pair<std::string, std::string>> plans;
  for (const DamagedPlan& c : damaged_plans()) plans.emplace_back(c.what, plan_bytes(c.elements));
  plans.emplace_back("truncated double", plans.back().second.substr(0, plans.back().second.size() - 3));
  // Faults only the block decoder's own checks meet first: in the empty tail, an odd tail,
  // a column ending inside its starting points, a y column computed less far.
  plans.emplace_back("tag in the tail", plan_bytes({{I, 0}, {I, 0}, {D, 1}, {E, 0}, {1, 0}, {I, 0}, {I, 1}, {D, 1}, {E, 0}, {E, 0}}));
  plans.emplace_back("odd tail", plan_bytes({{I, 0}, {I, 0}, {D, 1}, {I, 0}, {I, 1}, {D, 1}}) + std::string(2, '\0'));
  plans.emplace_back("y computed less far", plan_bytes({{I, 0}, {I, 0}, {D, 1}, {D, 2}, {I, 0}, {I, 1}, {D, 1}, {E, 0}}));
  plans.emplace_back("one byte", std::string(1, '\0'));
  plans.emplace_back("half a tag", std::string(2, '\x02'));
  plans.emplace_back("only empties", plan_bytes({{E, 0}, {E, 0}, {E, 0}, {E, 0}}));
  plans.emplace_back("starting points only", plan_bytes({{I, 0}, {I, 0}, {I, 0}, {I, 1}}));
  plans.emplace_back("no plan", "");
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    std::string bytes;
    encode_line_plan(testing::random_model(seed).line_plan, bytes);
    plans.emplace_back("generated " + std::to_string(seed), bytes);
  }
  for (const auto& [what, bytes] : plans) {
    SCOPED_TRACE(what);
    for (const size_t block : {size_t{1}, size_t{3}, size_t{4096}}) expect_decoded_as_by_elements(bytes, block);
  }
}

TEST(CompiledFilesDecoder, PlanFailuresNameColumnAndMetre) {
  // x: int, int, double, empty; y: int, int (value 1), empty where x has a double.
  const std::string bytes = plan_bytes({{2, 0}, {2, 0}, {5, 1.5}, {0, 0}, {2, 0}, {2, 1}, {0, 0}, {0, 0}});
  expect_failure(kPlan, bytes, 28, "(y, metre 2)");
}

}  // namespace
}  // namespace scenario
