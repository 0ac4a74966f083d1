#include "compiler/line_source_reader.hpp"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "compiler/memorizza_dati.hpp"
#include "model/fault_record.hpp"
#include "sources/scenario_texts.hpp"
#include "tests/compile_fixture.hpp"
#include "tests/temp_folder.hpp"

namespace scenario {
namespace {

using testing::compile_texts;

// A fresh model named like the built-in scenario, as the compile entry leaves it.
ScenarioModel fresh_model(int32_t plan_mode = 1) {
  ScenarioModel model;
  model.scenario_name = "Milano_Tortona";
  model.scenario_number = "5";
  model.plan_mode = plan_mode;
  model.reset_records();
  return model;
}

// A line source with a route of 10000 m (last cell 340) and the given main section.
std::string line_source(const std::string& main_rows) {
  return "[generale]\nlunghezza percorso, 10000\n[curve]\n" + main_rows + "[fine]\n";
}

// Compiles a line source and an untouched service source, both held in memory.
struct Compiled {
  ScenarioModel model;
  int32_t error_code = 0;
  int32_t error_position_m = 0;
  bool row_place_left = false;
  bool line_exists = true;
  bool service_exists = true;
};
Compiled compile_line(std::string text, int32_t plan_mode = 1) {
  Compiled compiled{fresh_model(plan_mode)};
  SourceFile line = SourceFile::in_memory("Milano_Tortona_linea.txt", std::move(text));
  SourceFile service = SourceFile::in_memory("Milano_Tortona_5-.txt", "");
  CompileContext context(compiled.model);
  memorizza_dati(context, line, service);
  compiled.error_code = context.error_code;
  compiled.error_position_m = context.error_position_m;
  compiled.row_place_left = context.row_place.has_value();
  compiled.line_exists = line.exists();
  compiled.service_exists = service.exists();
  return compiled;
}

TEST(LineSourceReader, ScenarioLineSourceFillsTheGeneralData) {
  const testing::CompiledTexts compiled = compile_texts(std::string(kLineSourceText), "");
  const ScenarioModel& model = compiled.model;
  EXPECT_EQ(compiled.error_code, 0);
  EXPECT_EQ(model.record(85).text, "Milano_Tortona");
  EXPECT_EQ(model.record(86).text, "5");
  EXPECT_EQ(model.record(84).end_m, 82000);
  EXPECT_EQ(model.route_extent_m, 89000);
  EXPECT_EQ(model.last_cell, 1780);
  EXPECT_EQ(model.cells.size(), 1781u);
  EXPECT_EQ(model.line_plan.extent_m(), 89000);
  auto triple = [&](int slot) {
    const SimRecord& r = model.record(slot);
    return std::array<int32_t, 3>{r.start_m, r.end_m, r.position_m};
  };
  // Ordered and corrected by progressive_ordina.
  EXPECT_EQ(triple(81), (std::array<int32_t, 3>{63200, 101400, 1}));
  EXPECT_EQ(triple(82), (std::array<int32_t, 3>{40500, 63300, 1}));
  EXPECT_EQ(triple(83), (std::array<int32_t, 3>{9600, -9550, 0}));
  EXPECT_EQ(triple(85), (std::array<int32_t, 3>{1, 59500, 31000}));
  EXPECT_EQ(triple(86), (std::array<int32_t, 3>{10550, 79900, 4}));
  EXPECT_FALSE(compiled.row_place_left);
}

TEST(LineSourceReader, ScenarioLineSourceHandsTheBoardSlotCounterToTheServiceHalf) {
  ScenarioModel model = fresh_model();
  SourceFile line = SourceFile::in_memory("Milano_Tortona_linea.txt", std::string(kLineSourceText));
  CompileContext context(model);
  const LineSourceOutcome outcome = read_line_source(context, line);
  EXPECT_TRUE(outcome.read_service);
  EXPECT_EQ(outcome.board_slot_counter, 79);
  EXPECT_FALSE(line.exists());
}

TEST(LineSourceReader, CrLfLineEndsReadLikeLf) {
  std::string crlf;
  for (char c : kLineSourceText) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const ScenarioModel from_lf = compile_texts(std::string(kLineSourceText), "").model;
  const testing::CompiledTexts crlf_compiled = compile_texts(crlf, "");
  const ScenarioModel& from_crlf = crlf_compiled.model;
  EXPECT_EQ(crlf_compiled.error_code, 0);
  EXPECT_EQ(from_crlf.cells, from_lf.cells);
  EXPECT_EQ(from_crlf.sim_records, from_lf.sim_records);
  EXPECT_EQ(from_crlf.line_plan.computed_end(), from_lf.line_plan.computed_end());
}

TEST(LineSourceReader, RouteLengthDimensionsCellsAndPlan) {
  struct Case {
    const char* length;
    int32_t extent, last_cell;
  };
  const Case cases[] = {{"1000000", 1007000, 20140}, {"82000", 89000, 1780}, {"25", 7025, 140}, {"75", 7075, 142}};
  for (const Case& c : cases) {
    const Compiled compiled = compile_line(std::string("[generale]\nlunghezza percorso, ") + c.length + "\n[curve]\n");
    EXPECT_EQ(compiled.error_code, 0) << c.length;
    EXPECT_EQ(compiled.model.route_extent_m, c.extent) << c.length;
    EXPECT_EQ(compiled.model.last_cell, c.last_cell) << c.length;
    EXPECT_EQ(compiled.model.cells.size(), static_cast<size_t>(c.last_cell) + 1) << c.length;
    EXPECT_EQ(compiled.model.line_plan.extent_m(), c.extent) << c.length;
  }
}

TEST(LineSourceReader, WithoutPlanModeNoPlanAndCurveRowsMatchNothing) {
  const Compiled compiled = compile_line(line_source("curvad6, 1000, 400\npendenza, 1000, 5\n"), 0);
  EXPECT_EQ(compiled.error_code, 0);
  EXPECT_FALSE(compiled.model.line_plan.dimensioned());
  EXPECT_EQ(compiled.model.cell(19).gradient, 100);
  EXPECT_EQ(compiled.model.cell(20).gradient, 105);
}

TEST(LineSourceReader, ASecondLengthRowDimensionsAgainAndDropsTheCells) {
  const Compiled compiled = compile_line(
      "[generale]\nlunghezza percorso, 10000\nlunghezza percorso, 3000\n[curve]\n");
  EXPECT_EQ(compiled.error_code, 0);
  EXPECT_EQ(compiled.model.last_cell, 200);
  EXPECT_EQ(compiled.model.line_plan.extent_m(), 10000);
}

TEST(LineSourceReader, KeywordsAreFoundByContainmentWithTheirCaseRules) {
  const Compiled compiled = compile_line(
      "notes before, 12, x\n[GENERALE]\n"
      "la LUNGHEZZA del PERCORSO, 10000\n"
      "Sfondo uno, 5\n"  // case matters: not a background, and 5 is a field that matches nothing
      "sfondo tre due, 7\n"  // both tests match: the first reads 7, the second reads 8
      "8\n"
      "ripetizione segnali 9 e 4 codici, 100, 200\n"
      "[curve]\n"
      "PENDENZA, 1000, 5\n"
      "cartello INDICATORE, 500, testo\n");
  const ScenarioModel& model = compiled.model;
  EXPECT_EQ(compiled.error_code, 0);
  EXPECT_EQ(model.last_cell, 340);
  EXPECT_EQ(model.record(85).start_m, 0);
  EXPECT_EQ(model.record(85).position_m, 7);
  EXPECT_EQ(model.record(85).end_m, 8);
  EXPECT_EQ(model.record(86).position_m, 4);
  EXPECT_EQ(model.cell(20).gradient, 105);
  EXPECT_EQ(model.cell(11).kind, kIndicatorBoard);
  EXPECT_EQ(model.record(80).text, "testo");
}

TEST(LineSourceReader, SignalRepetitionCodeCount) {
  struct Case {
    const char* row;
    int32_t start, end, count;
  };
  const Case cases[] = {
      {"ripetizione segnali 4 codici, 10550, 79900", 10550, 79900, 4},
      {"ripetizione segnali 9 codici, 10550, 79900", 10550, 79900, 9},
      {"ripetizione segnali 9 codici, 10550, 0", 10550, 0, 0},
      {"ripetizione segnali 49, -50, 100", -50, 100, 4},
  };
  for (const Case& c : cases) {
    const Compiled compiled = compile_line(std::string("[generale]\nlunghezza percorso, 10000\n") + c.row + "\n[curve]\n");
    const SimRecord& slot = compiled.model.record(86);
    EXPECT_EQ(compiled.error_code, 0) << c.row;
    EXPECT_EQ((std::array<int32_t, 3>{slot.start_m, slot.end_m, slot.position_m}),
              (std::array<int32_t, 3>{c.start, c.end, c.count}))
        << c.row;
  }
}

TEST(LineSourceReader, GeneralDashRuleReplacesUpToTenFieldsInARow) {
  // Ten dash fields in a row: the eleventh field is the keyword field, dash or not.
  std::string ten_dashes, eleven_dashes;
  for (int i = 0; i < 10; ++i) ten_dashes += "-" + std::to_string(i) + ",";
  eleven_dashes = ten_dashes + "-10,";
  auto background_after = [](const std::string& dashes) {
    return compile_line("[generale]\nlunghezza percorso, 10000\n" + dashes + "sfondo uno -, 5\n[curve]\n")
        .model.record(85)
        .start_m;
  };
  EXPECT_EQ(background_after(ten_dashes), 5);
  EXPECT_EQ(background_after(eleven_dashes), 0);  // read afresh, it holds a dash and is replaced by 5

  // A header that begins with "-" kept after ten replacements does not end the section.
  const Compiled compiled =
      compile_line("[generale]\nlunghezza percorso, 10000\n" + ten_dashes + "  -[curve]\nsfondo uno, 5\n[curve]\n");
  EXPECT_EQ(compiled.model.record(85).start_m, 5);
  EXPECT_EQ(compiled.error_code, 0);
}

TEST(LineSourceReader, MainDashRuleReplacesUpToTwoFields) {
  EXPECT_EQ(compile_line(line_source("-a, -b, montagna -, 500, 1000, 2\n")).model.mountain_count, 1);
  EXPECT_EQ(compile_line(line_source("-a, -b, -c, montagna -, 500, 1000, 2\n")).model.mountain_count, 0);
  // A dash-rule read that reaches the end of the file ends the reading normally.
  const Compiled at_end = compile_line("[generale]\nlunghezza percorso, 10000\n[curve]\nnota -\nmontagna");
  EXPECT_EQ(at_end.error_code, 0);
  EXPECT_EQ(at_end.model.mountain_count, 0);
}

TEST(LineSourceReader, TheLastFieldOfTheFileIsNeverProcessed) {
  // A row as the last line: its keyword field is processed, its fields follow it.
  const Compiled row_last = compile_line("[generale]\nlunghezza percorso, 10000\n[curve]\npendenza, 1000, 5");
  EXPECT_EQ(row_last.error_code, 0);
  EXPECT_EQ(row_last.model.cell(19).gradient, 100);
  EXPECT_EQ(row_last.model.cell(20).gradient, 105);
  // A keyword as the very last field is not processed, so its missing fields are no fault.
  const Compiled keyword_last = compile_line("[generale]\nlunghezza percorso, 10000\n[curve]\nmontagna\n");
  EXPECT_EQ(keyword_last.error_code, 0);
  // A general section never closed runs to the end; the main section then ends at once.
  const Compiled unclosed = compile_line("[generale]\nlunghezza percorso, 10000\nsfondo uno, 3\n[fine]\n");
  EXPECT_EQ(unclosed.error_code, 0);
  EXPECT_EQ(unclosed.model.record(85).start_m, 3);
  EXPECT_EQ(unclosed.model.cell(337).gradient, 100);  // the completion ran
  EXPECT_FALSE(unclosed.line_exists);
}

// Every fault the line half records, with what is left of the two sources.
TEST(LineSourceReader, FaultsAndTheSourcesTheyDrop) {
  std::string long_route_main = "[generale]\nlunghezza percorso, 1000000\n[curve]\ncurvad1, 999000, 5000\n[fine]\n";
  struct Case {
    const char* what;
    std::string text;
    int fault;
    int32_t position;
    bool line_exists, service_exists;
  };
  const Case cases[] = {
      {"no [generale]", "lunghezza percorso, 10000\n[fine]\n", 102, 0, false, true},
      {"[generale] is the last field", "nota\n[generale]\n", 102, 0, false, true},
      {"empty file", "", 102, 0, false, true},
      {"route too long", "[generale]\nlunghezza percorso, 1000001\n[fine]\n", 1, 0, false, true},
      {"repetition start", "[generale]\nripetizione segnali 4, 10525, 100\n[fine]\n", 3, 0, false, true},
      {"repetition end", "[generale]\nripetizione segnali 4, 10550, 125\n[fine]\n", 4, 0, false, true},
      {"repetition without 4 or 9", "[generale]\nripetizione segnali, 10550, 100\n[fine]\n", 5, 0, false, true},
      {"indicator board on a board", line_source("indicatori_vmax, 800, 30, 30, 30, 0, , , , 0\ncartello_indicatore, 810, x\n"), 6, 810,
       false, true},
      {"speed-limit board on a board", line_source("cartello_indicatore, 800, x\nindicatori_vmax, 790, 30, 30, 30, 0, , , , 0\n"), 21,
       790, false, true},
      {"curve without a digit", line_source("curvad, 100, 100\n"), 103, 0, false, true},
      {"curve digit 7", line_source("curvad7, 100, 100\n"), 103, 0, false, true},
      {"plan past metre 1000000", long_route_main, 103, 0, false, true},
      {"number field holds text", "[generale]\nlunghezza percorso, 12abc\n[fine]\n", 25, 0, false, false},
      {"number too large", "[generale]\nsfondo uno, 2147483648\n[fine]\n", 25, 0, false, false},
      {"no route length", "[generale]\nsfondo uno, 1\n[curve]\n[fine]\n", 25, 0, false, false},
      {"route length below zero", "[generale]\nlunghezza percorso, -8000\n[fine]\n", 25, 0, false, false},
      {"row cut short at the end", "[generale]\nlunghezza percorso, 10000\n[curve]\npendenza, 100\n", 25, 0, false,
       false},
      {"general dash rule at the end", "[generale]\nlunghezza percorso, 10000\n- a\n-b", 25, 0, false, false},
      {"curve past the plan", line_source("curvad1, 16000, 2000\n"), 25, 0, false, false},
      {"negative board position", line_source("cartello_indicatore, -100, x\n"), 25, 0, false, false},
      {"board value too large", line_source("indicatori_vmax, 800, 1639, 30, 30, 0, , , , 0\n"), 25, 0, false, false},
  };
  for (const Case& c : cases) {
    const Compiled compiled = compile_line(c.text);
    EXPECT_EQ(compiled.error_code, c.fault) << c.what;
    EXPECT_EQ(compiled.error_position_m, c.position) << c.what;
    EXPECT_EQ(compiled.line_exists, c.line_exists) << c.what;
    EXPECT_EQ(compiled.service_exists, c.service_exists) << c.what;
    EXPECT_FALSE(compiled.row_place_left) << c.what;
  }
}

TEST(LineSourceReader, MissingLineSourceRecords101AndReadsNothing) {
  const testing::TempFolder temp;  // a folder of this run alone
  const std::filesystem::path& folder = temp.path();
  ScenarioModel model = fresh_model();
  SourceFile line = SourceFile::on_disk(folder / "Milano_Tortona_linea.txt", SourceFile::Ownership::kRunIntermediate);
  SourceFile service = SourceFile::in_memory("Milano_Tortona_5-.txt", "");
  CompileContext context(model);
  memorizza_dati(context, line, service);
  EXPECT_EQ(context.error_code, 101);
  EXPECT_EQ(model.record(85).text, "Milano_Tortona");  // the names are copied first
  EXPECT_EQ(model.record(86).text, "5");
  EXPECT_FALSE(model.cells_dimensioned());
  EXPECT_TRUE(service.exists());
}

TEST(LineSourceReader, RunFilesAreDeletedButAnAuthorsFileStays) {
  const testing::TempFolder temp;  // a folder of this run alone
  const std::filesystem::path& folder = temp.path();
  auto write = [&](const char* name, const std::string& text) {
    std::ofstream(folder / name, std::ios::binary) << text;
    return folder / name;
  };
  for (const auto ownership : {SourceFile::Ownership::kRunIntermediate, SourceFile::Ownership::kAuthors}) {
    for (const std::string& text : {std::string(kLineSourceText), std::string("no general section\n")}) {
      ScenarioModel model = fresh_model();
      SourceFile line = SourceFile::on_disk(write("Milano_Tortona_linea.txt", text), ownership);
      SourceFile service = SourceFile::in_memory("Milano_Tortona_5-.txt", "");
      CompileContext context(model);
      memorizza_dati(context, line, service);
      EXPECT_EQ(std::filesystem::exists(folder / "Milano_Tortona_linea.txt"),
                ownership == SourceFile::Ownership::kAuthors);
    }
  }
}

TEST(LineSourceReader, Fault15EndsTheReadingNormally) {
  // 50 × 340 = 17000: a row at 16900 is accepted, one at 16901 ends the reading.
  ScenarioModel model = fresh_model();
  SourceFile line = SourceFile::in_memory(
      "Milano_Tortona_linea.txt",
      line_source("pendenza, 1000, 5\nmontagna, 16900, 16950, 1\nmontagna, 16901, 16950, 1\npendenza, 12000, 7\n"));
  CompileContext context(model);
  const LineSourceOutcome outcome = read_line_source(context, line);
  EXPECT_TRUE(outcome.read_service);
  EXPECT_EQ(outcome.board_slot_counter, 80);
  EXPECT_EQ(context.error_code, 15);
  EXPECT_EQ(context.error_position_m, 16901);
  EXPECT_EQ(model.mountain_count, 1);
  EXPECT_FALSE(line.exists());
  EXPECT_EQ(model.cell(20).gradient, 105);   // the completion ran with the gradient of the last row read
  EXPECT_EQ(model.cell(337).gradient, 105);
  EXPECT_EQ(model.line_plan.computed_end(), 16999);  // and the plan's
}

// Records every fault the sink hears of, with the file place of its row.
struct PlaceSink : FaultSink {
  std::vector<RecordedFault> faults;
  void on_fault(const RecordedFault& fault) override { faults.push_back(fault); }
};

TEST(LineSourceReader, FaultsNameTheRowTheyComeFrom) {
  ScenarioModel model = fresh_model();
  PlaceSink sink;
  CompileContext context(model, &sink);
  SourceFile line = SourceFile::in_memory("Milano_Tortona_linea.txt",
                                          line_source("indicatori_vmax, 800, 30, 30, 30, 0, , , , 0\n  indicatori_vmax, 790, 30, 30, 30, 0, , , , 0\n"));
  SourceFile service = SourceFile::in_memory("Milano_Tortona_5-.txt", "");
  memorizza_dati(context, line, service);
  ASSERT_EQ(sink.faults.size(), 1u);
  EXPECT_EQ(sink.faults[0].number, 21);
  ASSERT_TRUE(sink.faults[0].place.has_value());
  EXPECT_EQ(sink.faults[0].place->file, "Milano_Tortona_linea.txt");
  EXPECT_EQ(sink.faults[0].place->line, 5);
  EXPECT_EQ(sink.faults[0].place->column, 3);
}

}  // namespace
}  // namespace scenario
