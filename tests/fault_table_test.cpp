// The examples that `explain` and the source-format reference show are checked against the
// compiler: each fault's, put into a small clean scenario, gives its own fault first; each
// warning's gives its own warning.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "compiler/compile_entry.hpp"
#include "lsp/pair_compile.hpp"
#include "model/fault_record.hpp"
#include "model/fault_table.hpp"
#include "model/warning_table.hpp"

namespace scenario {
namespace {

constexpr std::string_view kLineGeneral = "[generale]\r\nlunghezza percorso,    82000\r\n";
constexpr std::string_view kLineMain = "[curve]\r\npendenza,  0,   0\r\n";
constexpr std::string_view kServiceStart =
    "[generale]\r\nnumero vetture,    8\r\naderenza,   0,    100\r\nvelocita,   0,    100\r\n";
constexpr std::string_view kEnd = "[fine]\r\n";

struct Sources {
  std::string line_general, line_main, service;
  std::optional<std::string> whole_line, whole_service;
};

bool holds_any(std::string_view row, std::initializer_list<std::string_view> words) {
  for (const std::string_view word : words)
    if (row.find(word) != std::string_view::npos) return true;
  return false;
}

// Each row of an example goes to the source and section its keyword belongs to; a
// "line source:" or "service source:" before a row names the source itself.
Sources sources_of(std::string_view example) {
  Sources sources;
  // A header alone stands among the line source's rows; a header with rows after it begins a
  // whole source, the service source when its rows are the train's.
  if (example.starts_with("[") && example.find('\n') == std::string_view::npos) {
    sources.line_main = std::string(example) + "\r\n";
    return sources;
  }
  if (example.starts_with("[")) {
    const std::string whole = std::string(example) + "\r\n" + std::string(kEnd);
    (holds_any(example, {"numero vetture"}) ? sources.whole_service : sources.whole_line) = whole;
    return sources;
  }
  size_t at = 0;
  while (at < example.size()) {
    const size_t end = std::min(example.find('\n', at), example.size());
    std::string_view row = example.substr(at, end - at);
    at = end + 1;
    bool service = true;
    for (const std::string_view prefix : {"line source:", "service source:"}) {
      if (!row.starts_with(prefix)) continue;
      service = prefix.starts_with("service");
      row.remove_prefix(prefix.size());
      row.remove_prefix(std::min(row.find_first_not_of(' '), row.size()));
    }
    const std::string text = std::string(row) + "\r\n";
    if (holds_any(row, {"lunghezza", "progressiva", "ripetizione", "sfondo"}))
      sources.line_general += text;
    else if (holds_any(row, {"pendenza", "curva", "montagna", "indicatori", "cartello"}))
      sources.line_main += text;
    else if (service)
      sources.service += text;
    else
      sources.line_main += text;
  }
  return sources;
}

struct FirstFault : FaultSink {
  std::optional<int> number;
  void on_fault(const RecordedFault& fault) override {
    if (!number) number = fault.number;
  }
};

// The first fault that compiling the sources gives: recorded, or shown by a header guard.
std::optional<int> first_fault(const Sources& sources) {
  ScenarioModel model;
  model.scenario_name = "Prova";
  model.scenario_number = "1";
  FirstFault sink;
  const std::string line = sources.whole_line.value_or(std::string(kLineGeneral) + sources.line_general +
                                                       std::string(kLineMain) + sources.line_main + std::string(kEnd));
  SourceFile line_source = SourceFile::in_memory("Prova_linea.txt", line);
  SourceFile service_source = SourceFile::in_memory(
      "Prova_1-.txt", sources.whole_service.value_or(std::string(kServiceStart) + sources.service + std::string(kEnd)));
  const CompileResult result = compile_scenario(model, 1, line_source, service_source, &sink);
  if (result.status == CompileStatus::kHeaderFault) return result.shown_fault;
  return sink.number;
}

TEST(FaultTable, EachExampleGivesItsOwnFault) {
  ASSERT_EQ(first_fault(Sources{}), std::nullopt) << "the scenario the examples go into must be clean";
  for (const FaultDescription& fault : fault_table()) {
    const int number = fault_number(fault.fault);
    // Their examples are not source rows: a count of rows, and a command line.
    if (fault.fault == Fault::kTooManyStations || fault.fault == Fault::kLineFileMissing) continue;
    EXPECT_EQ(first_fault(sources_of(fault.example)), number) << "the example of fault " << number;
  }
}

// The warnings a compile of the sources gives, as `compile --check` tells them. The service
// source has a station with a timetable time, so that the clean scenario gives none and a
// later station's time is checked; an example's line speed or adhesion rows stand in for the
// clean scenario's own.
std::set<int> warnings_of(const Sources& sources) {
  const std::string line = sources.whole_line.value_or(std::string(kLineGeneral) + sources.line_general +
                                                       std::string(kLineMain) + sources.line_main + std::string(kEnd));
  std::string service = "[generale]\r\nnumero vetture,    8\r\n";
  for (const std::string_view fill : {"aderenza,   0,    100\r\n", "velocita,   0,    100\r\n"})
    if (sources.service.find(fill.substr(0, fill.find(','))) == std::string::npos) service += fill;
  service += "stazione,  1000,  2,  400,  0, 1, 0, 1,1,0, 4,1,1, 0, 18,10, 0, ALFA\r\n" + sources.service;
  service = sources.whole_service.value_or(service + std::string(kEnd));
  std::set<int> warnings;
  for (const KeptDiagnostic& d : compile_pair({"Prova_linea.txt", line}, {"Prova_1-.txt", service}).diagnostics)
    if (d.warning) warnings.insert(*d.warning);
  return warnings;
}

TEST(WarningTable, EachExampleGivesItsOwnWarning) {
  ASSERT_EQ(warnings_of(Sources{}), std::set<int>{}) << "the scenario the examples go into must be clean";
  for (const WarningDescription& warning : warning_table()) {
    const int number = warning_number(warning.warning);
    EXPECT_TRUE(warnings_of(sources_of(warning.example)).contains(number)) << "the example of " << warning_id(number);
  }
}

TEST(FaultTable, EachNumberFindsItsOwnEntryAndNoOther) {
  for (const FaultDescription& fault : fault_table()) EXPECT_EQ(find_fault(fault_number(fault.fault)), &fault);
  for (int32_t number : {0, 14, 23, 26, 1252, -1}) {
    EXPECT_EQ(find_fault(number), nullptr) << number;
    EXPECT_EQ(fault_meaning(number), "unknown fault");
  }
  EXPECT_EQ(fault_meaning(16), "signal on an occupied cell");
}

// Warning numbers are stable ids: W1 upward with no gap, each found as itself, each told
// whole.
TEST(WarningTable, NumbersRunFromW1InOrderAndEachEntryIsWhole) {
  int32_t expected = 1;
  for (const WarningDescription& warning : warning_table()) {
    const int32_t number = warning_number(warning.warning);
    EXPECT_EQ(number, expected++);
    EXPECT_EQ(find_warning(number), &warning);
    EXPECT_FALSE(warning.title.empty() || warning.explanation.empty() || warning.example.empty()) << number;
    EXPECT_FALSE(warning_causes(warning).empty()) << number;
  }
  EXPECT_EQ(find_warning(0), nullptr);
  EXPECT_EQ(find_warning(expected), nullptr);
  EXPECT_EQ(warning_id(3), "W3");
}

}  // namespace
}  // namespace scenario
