// The relations between rows: one-line mistakes of the kinds authors make, each named at
// its row with its warning, none changing a compiled byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/compile_entry.hpp"
#include "compiler/row_relations.hpp"
#include "compiler/source_file.hpp"
#include "driver/diagnostics.hpp"
#include "format/compiled_files.hpp"
#include "format/plan_bytes.hpp"
#include "model/fault_record.hpp"
#include "sources/scenario_texts.hpp"
#include "tests/scenario_generator.hpp"

namespace scenario {
namespace {

struct Heard : FaultSink {
  std::vector<Diagnostic> diagnostics;
  void on_fault(const RecordedFault& fault) override { diagnostics.push_back(diagnostic_of_fault(fault)); }
  void on_diagnostic(const Diagnostic& diagnostic) override { diagnostics.push_back(diagnostic); }
};

struct Compiled {
  std::string bytes;  // the track cells, the records and the plan, one after another
  std::vector<Diagnostic> diagnostics;
};

// The two sources compiled in memory; with `heard`, every diagnostic is kept.
Compiled compile(const std::string& line, const std::string& service, bool heard) {
  ScenarioModel model;
  model.scenario_name = "Milano_Tortona";
  model.scenario_number = "5";
  Heard sink;
  CompileContext context(model, heard ? &sink : nullptr);
  SourceFile line_file = SourceFile::in_memory("Milano_Tortona_linea.txt", line);
  SourceFile service_file = SourceFile::in_memory("Milano_Tortona_5-.txt", service);
  compile_scenario(context, 1, line_file, service_file);
  Compiled compiled;
  std::string cells, records, plan;
  if (model.cells_dimensioned()) encode_track_cells(model, cells);
  encode_records(model, records);
  encode_line_plan(model.line_plan, plan);
  compiled.bytes = cells + records + plan;
  compiled.diagnostics = std::move(sink.diagnostics);
  return compiled;
}

struct Mistake {
  const char* what;
  bool in_service;
  std::string from, to;  // the first `from` of the built-in source becomes `to`
  std::string row;       // the row, as `to` holds it, that the warning must stand at
  int warning;
  std::string said;      // words of the message
};

int line_of(const std::string& text, size_t at) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
}

TEST(RowRelations, EachOneLineMistakeIsNamedAtItsRowAndChangesNoByte) {
  const std::vector<Mistake> mistakes = {
      {"mountain stretch ending before its start", false, "montagna,   59500,  59650,  2", "montagna,   59650,  59500,  2",
       "montagna,   59650", 15, "not past its start at 59650 m: it holds no cell"},
      {"signal repetition ending before its start", false, "ripetizione segnali 4 codici,    10550,    79900",
       "ripetizione segnali 4 codici,    79900,    10550", "ripetizione", 15, "before it starts at 79900 m"},
      {"slowdown of length 0", true, "rallentamento,   52600,    80,  250,", "rallentamento,   52600,    80,  0,",
       "rallentamento", 15, "the slowdown has no end"},
      {"slowdown of negative length", true, "rallentamento,   52600,    80,  250,",
       "rallentamento,   52600,    80,  -250,", "rallentamento", 15, "lies before its start at 52600 m"},
      {"curve before the curve before it", false, "curvad2,  4500,  400", "curvad2,  1200,  400", "curvad2,  1200", 16,
       "the plan leaves it out"},
      {"curve overlapping the curve before it", false, "curvad2,  4500,  400", "curvad2,  2500,  400",
       "curvad2,  2500", 16, "turns this curve only from 2750 m on"},
      {"mountain stretch over the one before it", false, "montagna,   59500,  59650,  2",
       "montagna,   59500,  59650,  2\nmontagna,   59600,  59800,  2", "montagna,   59600", 16, "takes type 3"},
      {"line speeds not from 0", true, "velocita,   0,    30", "velocita,   300,    30", "velocita,   300", 17,
       "a line speed of 0 km/h"},
      {"adhesion not from 0", true, "aderenza,   0,    100", "aderenza,   500,    100", "aderenza,   500", 17,
       "an adhesion of 0"},
      {"time going backwards", true, "18,42, 0, PAVIA", "18,12, 0, PAVIA", "PAVIA", 18,
       "18:12:00 is earlier than 18:15:00 at 'MILANO CENTRALE'"},
      {"kilometre-post direction outside its set", false, "progressiva chilometrica uno,    9600,    -9550,    0",
       "progressiva chilometrica uno,    9600,    -9550,    2", "progressiva chilometrica uno", 10,
       "direction 2 is not 0 or 1"},
      {"slowdown speed and length swapped", true, "rallentamento,   52600,    80,  250,",
       "rallentamento,   52600,    250,  80,", "rallentamento", 19,
       "250 km/h is above the line speed of 150 km/h in force at 52600 m; are the speed and the length (80 m) swapped?"},
      {"tab in a station name", true, "MILANO LAMBRATE", "MILANO\tLAMBRATE", "MILANO\tLAMBRATE", 20, "holds a tab"},
      {"control character in a board text", false, "(Km. 2.256)", "(Km.\x01" "2.256)", "(Km.", 20,
       "holds the control character 0x01"},
      {"route length in kilometres", false, "lunghezza percorso,    82000", "lunghezza percorso,    82",
       "lunghezza percorso", 21, "did you mean 82000?"},
      {"misspelt keyword", true, "stazione,    3800,", "stazine,    3800,", "stazine", 2, "did you mean 'stazione'?"},
      {"a dash taken for a note marker", true, "segnale,    1750,", "-segnale,    1750,", "-segnale", 2,
       "begins with '-', which marks no note"},
  };
  for (const Mistake& mistake : mistakes) {
    SCOPED_TRACE(mistake.what);
    std::string line(kLineSourceText), service(kServiceSourceText);
    std::string& edited = mistake.in_service ? service : line;
    const size_t at = edited.find(mistake.from);
    ASSERT_NE(at, std::string::npos);
    edited.replace(at, mistake.from.size(), mistake.to);
    const int row_line = line_of(edited, edited.find(mistake.row, at));

    const Compiled heard = compile(line, service, true);
    std::vector<std::string> told;
    bool named = false;
    for (const Diagnostic& diagnostic : heard.diagnostics) {
      told.push_back("W" + std::to_string(diagnostic.warning.value_or(0)) + " line " +
                     std::to_string(diagnostic.place ? diagnostic.place->line : 0) + ": " + diagnostic.message);
      named = named || (diagnostic.warning == mistake.warning && diagnostic.place &&
                        diagnostic.place->line == row_line && diagnostic.message.find(mistake.said) != std::string::npos);
    }
    EXPECT_TRUE(named) << "W" << mistake.warning << " at line " << row_line << "; told:\n"
                       << ::testing::PrintToString(told);
    EXPECT_EQ(heard.bytes, compile(line, service, false).bytes);
  }
}

// The built-in sources keep every relation: they compile without a warning of one.
TEST(RowRelations, TheBuiltInSourcesKeepEveryRelation) {
  for (const Diagnostic& diagnostic :
       compile(std::string(kLineSourceText), std::string(kServiceSourceText), true).diagnostics)
    for (const RowRelation& relation : row_relations())
      EXPECT_NE(diagnostic.warning, warning_number(relation.warning)) << diagnostic.message;
}

// The generator's rows keep every relation as the compiler reads them, short routes too.
TEST(RowRelations, GeneratedScenariosKeepEveryRelation) {
  for (const auto& [seed, length_m] : {std::pair{1u, 25}, {2u, 900}, {3u, 4999}, {5u, 64000}, {117u, 144729}}) {
    const testing::GeneratedScenario generated = testing::generate_scenario(seed, length_m);
    for (const Diagnostic& diagnostic : compile(generated.line, generated.service, true).diagnostics)
      for (const RowRelation& relation : row_relations())
        EXPECT_NE(diagnostic.warning, warning_number(relation.warning)) << seed << ": " << diagnostic.message;
  }
}

// The clear mends: the row as the fix writes it keeps the relation.
TEST(RowRelations, FixesMendTheRow) {
  const RowText& speed = *find_row("velocita");
  RelationWatch watch;
  const std::vector<WrittenField> first_speed = {{1000, " 1000"}, {120, "120"}};
  const auto broken = watch.row(speed, first_speed);
  ASSERT_EQ(broken.size(), 1u);
  ASSERT_TRUE(broken[0].fix);
  EXPECT_EQ(broken[0].fix->written, "1000");
  EXPECT_EQ(broken[0].fix->replacement, "0");

  const RowText& station = *find_row("stazione");
  std::vector<WrittenField> fields(station.fields.size());
  fields.back() = {0, "ALFA\tNORD"};
  const auto text_broken = RelationWatch{}.row(station, fields);
  ASSERT_EQ(text_broken.size(), 1u);
  EXPECT_EQ(text_broken[0].fix->written, "ALFA\tNORD");
  EXPECT_EQ(text_broken[0].fix->replacement, "ALFA NORD");
}

// A station off its cell (fault 8) offers the same mend as a feature off its cell (W5).
TEST(RowRelations, StationOffItsCellOffersTheRoundedPosition) {
  std::string service(kServiceSourceText);
  service.replace(service.find("stazione,    3800,"), 18, "stazione,    3810,");
  const Compiled compiled = compile(std::string(kLineSourceText), service, true);
  bool offered = false;
  for (const Diagnostic& diagnostic : compiled.diagnostics)
    if (diagnostic.fault == 8 && diagnostic.fix)
      offered = diagnostic.fix->written == "3810" && diagnostic.fix->replacement == "3800";
  EXPECT_TRUE(offered);
}

// The closing line counts the rows a misspelt keyword dropped, beside the warnings.
TEST(RowRelations, SummaryLineCountsTheDroppedRows) {
  std::ostringstream err;
  {
    Diagnostics diagnostics(err, false, DiagnosticsFormat::kText);
    Diagnostic dropped{Severity::kWarning, std::nullopt, "'stazine' matches no row", std::nullopt, std::nullopt, {}};
    dropped.warning = warning_number(Warning::kUnmatchedKeyword);
    dropped.fix = DiagnosticFix{"stazine", "stazione"};
    diagnostics.on_diagnostic(dropped);
    diagnostics.on_diagnostic(dropped);
    Diagnostic other = dropped;
    other.fix.reset();  // a field that is close to no keyword: no row is counted
    diagnostics.on_diagnostic(other);
  }
  EXPECT_NE(err.str().find("scenario-builder: 3 warnings (2 rows dropped by a misspelt keyword)\n"), std::string::npos)
      << err.str();
}

}  // namespace
}  // namespace scenario
