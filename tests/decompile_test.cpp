#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/compile_entry.hpp"
#include "decompile/decompile.hpp"
#include "decompile/fill_recovery.hpp"
#include "format/byte_reader.hpp"
#include "decompile/round_trip.hpp"
#include "format/compiled_files.hpp"
#include "model/rounding.hpp"
#include "sources/line_table.hpp"
#include "sources/scenario_texts.hpp"
#include "schema/row_schema.hpp"
#include "tests/scenario_generator.hpp"

namespace scenario {
namespace {

std::string file_bytes(std::string_view text) { return line_table_bytes(line_table_from_text(text)); }

// The three files that two sources compile to, as the compile command writes them.
CompiledFiles compiled_files(const std::string& line, const std::string& service, int32_t plan_mode,
                             const ScenarioTexts& texts = {"Milano_Tortona", "5"}) {
  CompiledFiles files{texts.name, texts.number, "", "", std::nullopt};
  const Recompiled compiled = compile_in_memory(texts, line, service, plan_mode);
  EXPECT_EQ(compiled.result.status, CompileStatus::kCompiled);
  encode_track_cells(*compiled.model, files.track_cells);
  encode_records(*compiled.model, files.records);
  if (plan_mode != 0) {
    std::string plan;
    encode_line_plan(compiled.model->line_plan, plan);
    files.line_plan = PlanBytes::holding(std::move(plan));
  }
  return files;
}

// The plan's bytes, held in memory, changed by `edit`.
void edit_plan(CompiledFiles& files, const std::function<void(std::string&)>& edit) {
  std::string bytes(files.line_plan->read(0, {}));
  edit(bytes);
  files.line_plan = PlanBytes::holding(std::move(bytes));
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(Decompile, BuiltinScenarioRoundTripsWithoutFaultsOrRemarks) {
  const CompiledFiles files = compiled_files(file_bytes(kLineSourceText), file_bytes(kServiceSourceText), 1);
  const RecoveredSources sources = decompile(files);
  EXPECT_TRUE(sources.remarks.empty()) << joined(sources.remarks);
  const RoundTripReport report = check_round_trip(files, sources);
  EXPECT_TRUE(report.exact()) << joined(report.differences);
  EXPECT_TRUE(report.faults.empty()) << joined(report.faults);

  // The author gets back the built-in sources themselves: the line source to the byte, the
  // service source but for two first rows spaced like the others and the first station's
  // p5, which the compiler clears.
  EXPECT_EQ(sources.line, file_bytes(kLineSourceText));
  std::string service(kServiceSourceText);
  for (const auto& [built_in, recovered] : {
           std::pair{"aderenza,   0,    100", "aderenza,       0,   100"},
           std::pair{"velocita,   0,    30", "velocita,       0,    30"},
           std::pair{"  800,  1, 1, 0,", "  800,  1, 0, 0,"},
       })
    service.replace(service.find(built_in), std::string_view(built_in).size(), recovered);
  EXPECT_EQ(sources.service, file_bytes(service));
}

// A fault of the signalling walk is told at its slowdown row as written; the recovered row
// stands on its cell boundary and on a line of its own, so what must agree is each fault and
// the cell its position falls in.
std::vector<std::string> faults_by_cell(const std::vector<std::string>& faults) {
  std::vector<std::string> by_cell;
  for (const std::string& fault : faults) {
    const size_t at = fault.find(" at ");
    by_cell.push_back(at == std::string::npos ? fault
                                               : fault.substr(0, at) + " in cell " +
                                                     std::to_string(cell_after_position(std::stoll(fault.substr(at + 4)))));
  }
  return by_cell;
}

// A generated scenario compiled, decompiled and compiled again: no remark, the same three
// files, the same faults. Under `texts`, the name and number the records carry.
void expect_round_trip(const testing::GeneratedScenario& generated, int32_t plan_mode, const ScenarioTexts& texts) {
  const Recompiled original = compile_in_memory(texts, generated.line, generated.service, plan_mode);
  // The sources place every row; the signalling walk may find no cell for a point it adds
  // (a slowdown of length 0 runs its repeat points on to the next one's end), a fault told at
  // the slowdown's row, which the recovered sources must record alike.
  for (const std::string& fault : original.faults)
    ASSERT_TRUE(fault.starts_with("fault 13 ") || fault.find(".txt:") == std::string::npos) << fault;
  const CompiledFiles files = compiled_files(generated.line, generated.service, plan_mode, texts);
  const RecoveredSources sources = decompile(files);
  EXPECT_TRUE(sources.remarks.empty()) << joined(sources.remarks);
  const RoundTripReport report = check_round_trip(files, sources);
  EXPECT_TRUE(report.exact()) << joined(report.differences) << report.unlisted << " more\n"
                              << joined(report.faults) << sources.line << sources.service;
  EXPECT_EQ(faults_by_cell(report.faults), faults_by_cell(original.faults));
}

// Routes of every length, with and without their plan.
TEST(Decompile, GeneratedScenariosRoundTrip) {
  struct Case {
    uint32_t seed;
    int32_t length_m;
  };
  for (const Case c : {Case{1, 25}, Case{2, 1000}, Case{3, 4999}, Case{4, 12000}, Case{5, 64000}, Case{6, 97500},
                       Case{7, 160000}, Case{8, 230050}, Case{117, 144729}}) {
    for (const int32_t plan_mode : {1, 0}) {
      SCOPED_TRACE("seed " + std::to_string(c.seed) + ", " + std::to_string(c.length_m) + " m, plan mode " +
                   std::to_string(plan_mode));
      expect_round_trip(testing::generate_scenario(c.seed, c.length_m), plan_mode, {"Milano_Tortona", "5"});
    }
  }
}

// Thousands of short routes, each shape in many combinations: rows whose order decides what
// a cell keeps, features in cell 0 and in the last cells, boards, signals and a slowdown's
// start or end under station exits, mountain stretches over one another, names outside
// ASCII. The first failure stops the run: one scenario tells the fault.
TEST(Decompile, ThousandsOfGeneratedScenariosRoundTrip) {
  constexpr uint32_t kScenarios = 2500;
  uint32_t clean = 0;
  for (uint32_t seed = 1000; seed < 1000 + kScenarios && !HasFailure(); ++seed) {
    const int32_t length_m = static_cast<int32_t>(seed * 7919 % 40000);
    const int32_t plan_mode = seed % 4 == 0 ? 0 : 1;
    const ScenarioTexts texts = seed % 3 == 0 ? ScenarioTexts{"Santhi\xe0_Brescia", "75801"}
                                              : ScenarioTexts{"Milano_Tortona", "5"};
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(length_m) + " m, plan mode " +
                 std::to_string(plan_mode));
    const testing::GeneratedScenario generated = testing::generate_scenario(seed, length_m);
    // Only what a clean compile writes: the walk's own faults are the test above's.
    if (!compile_in_memory(texts, generated.line, generated.service, plan_mode).faults.empty()) continue;
    ++clean;
    expect_round_trip(generated, plan_mode, texts);
  }
  EXPECT_GT(clean, kScenarios * 3 / 4);
}

// The generated scenarios the round trips run on write every row that takes a track cell, so
// that a kind of row is decompiled and compiled again as soon as it exists.
TEST(Decompile, TheGeneratedScenariosWriteEveryRowThatTakesACell) {
  std::set<std::string, std::less<>> written;
  for (uint32_t seed = 1000; seed < 1100; ++seed) {
    const testing::GeneratedScenario generated =
        testing::generate_scenario(seed, static_cast<int32_t>(seed * 7919 % 40000));
    for (const std::string* text : {&generated.line, &generated.service}) {
      std::istringstream lines(*text);
      for (std::string line; std::getline(lines, line);) written.insert(line.substr(0, line.find(',')));
    }
  }
  for (const SectionSchema* section : {&line_general_section(), &line_main_section(), &service_section()}) {
    for (const RowText& row : section->rows) {
      if (!row.cell_kinds.empty()) {
        EXPECT_TRUE(written.contains(row.keyword)) << row.keyword;
      }
    }
  }
}

// A code reduction row of the walk's own speed standing in the run of repeat points of a
// slow slowdown: the walk places its point in the cell before and counts on from there, and
// the rounds that tell the walk's points from the source's take one for the other; the
// points are then settled in running order.
TEST(Decompile, SourcePointOfTheWalksSpeedInARepeatRun) {
  const ScenarioTexts texts{"Milano_Tortona", "5"};
  expect_round_trip(testing::generate_scenario(2601, 37319), 1, texts);
}

// A station's approach codes left standing over a signal's: the station row came after the
// signal row, and the recovered sources keep that order. In the other order the round
// trip names the rows that write the cell and the one that should come last.
TEST(Decompile, RowOrderThatLeavesEachApproachCode) {
  const std::string service = file_bytes(
      "[generale]\nnumero vetture, 5\npercentuale massa frenata, 100\nsabbia, 0\norologio, 8 0 0\n"
      "[aderenze]\naderenza, 0, 100\n[vel_limite]\nvelocita, 0, 100\n[stazioni]\n"
      "segnale, 4000, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0\n"                       // cell 81: codes in 79, 77, 75, 73
      "stazione, 3800, 2, 500, 0, 0, 0, 0,0,0, 0,0,0, 0, 0,0,0, LODI\n"  // exit 80: codes in 79 to 76
      "[fine]\n");
  const CompiledFiles files = compiled_files(file_bytes(kLineSourceText), service, 0);
  RecoveredSources sources = decompile(files);
  EXPECT_TRUE(check_round_trip(files, sources).exact()) << sources.service;

  const size_t signal = sources.service.find("segnale,    4000");
  const size_t station = sources.service.find("stazione,    3800");
  ASSERT_LT(signal, station) << sources.service;
  const size_t signal_end = sources.service.find("\r\n", signal) + 2;
  const std::string signal_row = sources.service.substr(signal, signal_end - signal);
  sources.service.erase(signal, signal_end - signal);
  sources.service.insert(sources.service.find("\r\n", sources.service.find("stazione,    3800")) + 2, signal_row);
  const RoundTripReport report = check_round_trip(files, sources);
  EXPECT_EQ(report.differences.at(0),
            "track cell 77, approach: the compiled file holds 83, the recovered sources give 32 (written by the "
            "recovered rows Milano_Tortona_5-.txt:12 Milano_Tortona_5-.txt:11 (83); Milano_Tortona_5-.txt:11 should "
            "come after the others)")
      << sources.service;
}

// The fewest rows, and the last three cells, which the end of reading leaves as they are
// unless rows at the last position push the fill into them.
TEST(Decompile, FillRowsAtEachChangeAndIntoTheLastCells) {
  struct Case {
    std::vector<uint8_t> cells;
    std::vector<std::pair<int64_t, uint8_t>> rows;
  };
  for (const Case& c : {
           Case{{7, 7, 9, 9, 9, 9, 0, 0, 0}, {{0, 7}, {2, 9}}},
           Case{{7, 7, 9, 9, 9, 9, 9, 0, 0}, {{0, 7}, {2, 9}, {6, 9}}},
           Case{{7, 7, 9, 9, 9, 9, 9, 3, 5}, {{0, 7}, {2, 9}, {6, 9}, {6, 3}, {6, 5}}},
           Case{{0, 0, 0, 0, 0, 4, 0, 0, 0}, {{0, 0}, {5, 4}}},
       }) {
    std::vector<TrackCell> cells(c.cells.size());
    for (size_t i = 0; i < cells.size(); ++i) cells[i].gradient = c.cells[i];
    std::vector<std::pair<int64_t, uint8_t>> rows;
    for (const FillRow& row : recover_fill(cells, &TrackCell::gradient)) rows.emplace_back(row.cell, row.value);
    EXPECT_EQ(rows, c.rows);
  }
}

// A compiled file that no source gives is told, field by field; a damaged one is refused.
TEST(Decompile, NamesWhatDoesNotRoundTripAndRefusesDamagedFiles) {
  CompiledFiles files = compiled_files(file_bytes(kLineSourceText), file_bytes(kServiceSourceText), 1);
  CompiledFiles edited = files;
  edited.track_cells[15 * 300] = 7;  // a kind the compiler never writes
  edited.track_cells[15 * 300 + 1] = 9;
  edit_plan(edited, [](std::string& plan) { plan.replace(plan.size() / 2 - 100 * 10 + 2, 1, 1, '\x55'); });  // one x
  const RecoveredSources sources = decompile(edited);
  const RoundTripReport report = check_round_trip(edited, sources);
  EXPECT_FALSE(report.exact());
  EXPECT_EQ(report.differences.front(),
            "track cell 300, kind: the compiled file holds 7 (unknown), the recovered sources give 0 (free)");
  EXPECT_EQ(report.differences.at(1), "track cell 300, value1: the compiled file holds 9, the recovered sources give 0");
  EXPECT_NE(joined(sources.remarks).find("line plan, metre 88899: no curve row turns the track to this point"),
            std::string::npos)
      << joined(sources.remarks);
  EXPECT_NE(joined(report.differences).find("line plan, metre 88899, x: the compiled file holds "), std::string::npos)
      << joined(report.differences);

  for (const auto& damage : std::vector<std::function<void(CompiledFiles&)>>{
           [](CompiledFiles& f) { f.track_cells.pop_back(); },
           [](CompiledFiles& f) { f.records.resize(100); },
           [](CompiledFiles& f) { edit_plan(f, [](std::string& plan) { plan.pop_back(); }); },
           [](CompiledFiles& f) { edit_plan(f, [](std::string& plan) { plan[0] = 9; }); },
       }) {
    CompiledFiles damaged = files;
    damage(damaged);
    EXPECT_THROW(decompile(damaged), FileError);
  }
}

}  // namespace
}  // namespace scenario
