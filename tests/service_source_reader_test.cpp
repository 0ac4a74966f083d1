#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_entry.hpp"
#include "compiler/source_file.hpp"
#include "model/fault_record.hpp"
#include "model/fault_table.hpp"
#include "tests/service_fixture.hpp"

namespace scenario {
namespace {

using testing::read_service_rows;
using testing::read_service_text;
using testing::route_model;

TEST(ServiceSource, TrainRowsFillTheServiceAndHeaderSlots) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  const auto run = read_service_rows(compile,
                                     "numero vetture,    12\r\npercentuale massa frenata,    125\r\nsabbia,    300\r\n"
                                     "orologio,    18              14            15 \r\n");
  EXPECT_FALSE(run.failed);
  EXPECT_TRUE(run.discarded);
  EXPECT_EQ(compile.error_code, 0);
  EXPECT_EQ(model.record(84).start_m, 125);
  EXPECT_EQ(model.record(84).position_m, 12);
  EXPECT_EQ(model.record(84).end_m, 0) << "the route length is the line source's";
  EXPECT_EQ(model.record(86).p7, 300);
  EXPECT_EQ(model.record(86).p10, 18);
  EXPECT_EQ(model.record(86).p11, 14);
  EXPECT_EQ(model.record(86).p12, 15);
}

TEST(ServiceSource, KeywordFieldsAndTheDashRule) {
  struct Case {
    const char* name;
    std::string text;
    int32_t coaches;  // slot 84 position_m afterwards
  };
  const Case cases[] = {
      {"letter case is ignored", "[GENERALE]\nNUMERO VETTURE, 7\n[fine]\n", 7},
      {"containment, not equality", "[generale]\nil numero delle vetture, 7\n[fine]\n", 7},
      {"fields before [generale] are skipped", "numero vetture, 3\n[generale]\n[fine]\n", 0},
      {"no [generale]: nothing is read, and no fault", "numero vetture, 3\nnumero vetture, 4\n", 0},
      {"a header matches nothing", "[generale]\n[vel_limite]\nnumero vetture, 7\n[fine]\n", 7},
      {"a keyword field with a dash is replaced by the next field", "[generale]\nnumero-vetture, 9\n[fine]\n", 0},
      {"after two dash fields the third is the keyword field", "[generale]\na-1, b-2, numero-vetture, 9\n[fine]\n",
       9},
      {"the last field of the file is never a keyword field", "[generale]\nnumero vetture, 7\nnumero vetture", 7},
      {"a last row without [fine] is still read", "[generale]\nnumero vetture, 7", 7},
      {"a dash field at the end ends reading", "[generale]\nnumero vetture, 7\nx-1, numero vetture", 7},
      {"the row's fields may run over lines", "[generale]\nnumero vetture\n 8\n[fine]\n", 8},
      {"a comma before the line end is an empty field", "[generale]\nnumero vetture,\n 8\n[fine]\n", 0},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    const auto run = read_service_text(compile, c.text);
    EXPECT_FALSE(run.failed) << c.name;
    EXPECT_TRUE(run.discarded) << c.name;
    EXPECT_EQ(compile.error_code, 0) << c.name;
    EXPECT_EQ(model.record(84).position_m, c.coaches) << c.name;
  }
}

TEST(ServiceSource, AFieldWithTwoKeywordsReadsBothRowsInTestOrder) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  // "aderenza" is tested after "velocit": the first two numbers are the speed row's.
  read_service_rows(compile, "aderenza velocita, 1000, 50, 2000, 90\nsabbia e vetture, 11, 22\n");
  EXPECT_EQ(compile.error_code, 0);
  EXPECT_EQ(model.cell(19).speed_limit, 0);
  EXPECT_EQ(model.cell(20).speed_limit, 10);
  EXPECT_EQ(model.cell(39).adhesion, 0);
  EXPECT_EQ(model.cell(40).adhesion, 90);
  EXPECT_EQ(model.record(84).position_m, 11) << "vetture comes before sabbia";
  EXPECT_EQ(model.record(86).p7, 22);
}

TEST(ServiceSource, RunTimeFailures) {
  const char* texts[] = {
      "[generale]\norologio, 18, 14\n",             // the row is cut short by the end of the file
      "[generale]\nvelocita, 100\n",                 // likewise
      "[generale]\nsabbia, 40000\n[fine]\n",         // a 16-bit field out of range
      "[generale]\norologio, 18 x4 15\n[fine]\n",    // text in a number field
      "[generale]\nnumero vetture, 1.5\n[fine]\n",   // not a whole number
  };
  for (const char* text : texts) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    EXPECT_TRUE(read_service_text(compile, text).failed) << text;
  }
}

TEST(ServiceSource, KilometrePostCheckAtTheNormalEndOnly) {
  struct Case {
    const char* name;
    std::string rows;
    int32_t post_value;  // slot 82 end_m
    int error_code;
  };
  const Case cases[] = {
      {"multiples of 50 pass", "", -9550, 0},
      {"any value off the grid is fault 2", "", 63225, fault_number(Fault::kKilometrePostNotMultipleOf50)},
      {"fault 2 replaces a fault 15", "velocita, 88950, 10\n", 63225, fault_number(Fault::kKilometrePostNotMultipleOf50)},
      {"a fault exit skips the check", "stazione, 75, 2, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X\n", 63225,
       fault_number(Fault::kStationPosition)},
  };
  for (const Case& c : cases) {
    ScenarioModel model = route_model();
    CompileContext compile(model);
    model.record(81).start_m = 63200;
    model.record(81).end_m = 101300;
    model.record(81).position_m = 1;
    model.record(82).end_m = c.post_value;
    model.record(83).position_m = 7;  // the third number is not checked
    const auto run = read_service_rows(compile, c.rows);
    EXPECT_EQ(compile.error_code, c.error_code) << c.name;
    EXPECT_TRUE(run.discarded) << c.name;
  }
}

// Hears the faults with the source row they name.
class PlaceSink : public FaultSink {
 public:
  void on_fault(const RecordedFault& fault) override {
    numbers.push_back(fault.number);
    ASSERT_TRUE(fault.place.has_value());
    lines.push_back(fault.place->line);
    columns.push_back(fault.place->column);
    texts.emplace_back(fault.place->line_text);
  }
  std::vector<int> numbers, lines, columns;
  std::vector<std::string> texts;
};

TEST(ServiceSource, AFaultNamesTheRowItCameFrom) {
  ScenarioModel model = route_model();
  CompileContext compile(model);
  PlaceSink sink;
  compile.fault_sink = &sink;
  model.cell(36).kind = kStationExit;
  read_service_rows(compile, "numero vetture, 12\n  - ,   segnale, 1750, 2, 4, 1, 1, 0, 0, 0,0,0, 0\n");
  EXPECT_EQ(sink.numbers, std::vector<int>{fault_number(Fault::kSignalOccupied)});
  EXPECT_EQ(sink.lines, std::vector<int>{3});  // "[generale]" is line 1
  EXPECT_EQ(sink.columns, std::vector<int>{9});
  EXPECT_EQ(sink.texts, std::vector<std::string>{"  - ,   segnale, 1750, 2, 4, 1, 1, 0, 0, 0,0,0, 0"});
}

// Hears every diagnostic of a compile, notes and all.
class DiagnosticTexts : public FaultSink {
 public:
  void on_fault(const RecordedFault& fault) override { on_diagnostic(diagnostic_of_fault(fault)); }
  void on_diagnostic(const Diagnostic& diagnostic) override {
    std::string text = diagnostic.message;
    for (const DiagnosticNote& note : diagnostic.notes) text += " / " + note.message;
    texts.push_back(text);
  }
  std::vector<std::string> texts;
};

TEST(ServiceSource, AnUnreadOneIsCheckedAgainstTheRouteItsContextNames) {
  // The line source stops before its route length: a row at 20 km lies past a route of 5 km
  // (and its 7 km beyond) but on the longest route.
  for (const int32_t route_m : {5000, kLongestRoute_m}) {
    ScenarioModel model;
    DiagnosticTexts sink;
    CompileContext context(model, &sink);
    context.unread_check_route_m = route_m;
    SourceFile line = SourceFile::in_memory("linea.txt", "[curve]\n");
    SourceFile service = SourceFile::in_memory("servizio.txt", "[generale]\nvelocita, 0, 100\nvelocita, 20000, 90\n");
    compile_scenario(context, 1, line, service);
    const std::string route = "against a route of " + std::to_string(route_m) + " m";
    size_t beyond = 0, noted = 0;
    for (const std::string& text : sink.texts) {
      beyond += text.starts_with(fault_meaning(fault_number(Fault::kBeyondTrack)));
      noted += text.find(route) != std::string::npos;
    }
    EXPECT_EQ(beyond, route_m == 5000 ? 1u : 0u) << ::testing::PrintToString(sink.texts);
    EXPECT_EQ(noted, sink.texts.size() - 1) << ::testing::PrintToString(sink.texts);  // all but the line source's fault
  }
}

}  // namespace
}  // namespace scenario
