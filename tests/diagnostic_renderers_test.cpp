#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "driver/diagnostics.hpp"
#include "driver/sarif_diagnostics.hpp"
#include "format/file_uri.hpp"
#include "model/fault_record.hpp"
#include "model/fault_table.hpp"
#include "model/warning_table.hpp"

namespace scenario {
namespace {

using nlohmann::json;

constexpr std::string_view kSignalRow = "segnale,    8600,   2, 3";
constexpr std::string_view kStationRow = "stazione,\"PAV\xcc" "A\",  8600";  // Windows-1252 Ì

// One compile's worth of diagnostics of every shape: a fault at a row with a position, a
// warning with a note at another row, a run-time failure with what failed and no place, a
// failure that is no fault, and the same fault five times over. What no row caused concerns
// the line source.
void feed(Diagnostics& diagnostics) {
  diagnostics.show_file_as("Prova_5-.txt", "routes/Prova 5-.txt");
  diagnostics.show_file_as("Prova_linea.txt", "routes/Prova linea.txt");
  diagnostics.concern_unplaced_with("Prova_linea.txt");
  ScenarioModel model;
  model.fault_sink = &diagnostics;
  model.row_place = SourcePlace{"Prova_5-.txt", 48, 1, kSignalRow};
  record_fault(model, Fault::kSignalOccupied, 8600);
  model.row_place.reset();
  diagnostics.on_diagnostic(Diagnostic{Severity::kWarning, std::nullopt, "position moved to another cell",
                                       SourcePlace{"Prova_5-.txt", 12, 11, kStationRow}, 8600,
                                       {{"the row that holds the cell", SourcePlace{"Prova_5-.txt", 48, 1, kSignalRow}},
                                        {"a note without a place", std::nullopt}},
                                       warning_number(Warning::kOffCell)});
  record_runtime_failure(model, RuntimeFailure("32-bit sum overflows"));
  diagnostics.error("cannot read the line source 'x': no such file");
  for (int i = 0; i < 5; ++i) record_fault(model, Fault::kNoRepeatOrExitCell, 54000 + 50 * i);
  diagnostics.close();
}

std::vector<json> json_lines(const std::string& text) {
  std::vector<json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));  // throws on bad JSON or UTF-8
  return lines;
}

TEST(JsonDiagnostics, OneObjectPerLineWithEveryKeyAndEveryRepeat) {
  std::ostringstream err;
  {
    Diagnostics diagnostics(err, false, DiagnosticsFormat::kJson);
    feed(diagnostics);
  }
  const std::vector<json> lines = json_lines(err.str());
  ASSERT_EQ(lines.size(), 9u) << err.str();  // no repeat hidden, no closing line

  const json signal = {{"severity", "error"}, {"fault", 16},        {"message", "signal on an occupied cell"},
                       {"file", "routes/Prova 5-.txt"}, {"line", 48}, {"column", 1},
                       {"position", 8600},
                       {"notes", json::array({{{"message", "reading of this source stopped here; the rows after line 48 "
                                                            "were not compiled"},
                                               {"file", "routes/Prova 5-.txt"},
                                               {"line", 48},
                                               {"column", 1}}})},
                       {"warning", nullptr}};
  EXPECT_EQ(lines[0], signal);

  const json& warning = lines[1];
  EXPECT_EQ(warning["severity"], "warning");
  EXPECT_TRUE(warning["fault"].is_null());
  EXPECT_EQ(warning["warning"], "W5");
  EXPECT_EQ(warning["line"], 12);
  EXPECT_EQ(warning["column"], 11);
  const json notes = json::parse(R"([
      {"message": "the row that holds the cell", "file": "routes/Prova 5-.txt", "line": 48, "column": 1},
      {"message": "a note without a place", "file": null, "line": null, "column": null}])");
  EXPECT_EQ(warning["notes"], notes);

  EXPECT_EQ(lines[2]["fault"], 25);
  EXPECT_EQ(lines[2]["message"], "run-time failure while reading the sources: 32-bit sum overflows");
  EXPECT_EQ(lines[2]["file"], "routes/Prova linea.txt");
  EXPECT_TRUE(lines[2]["line"].is_null());
  EXPECT_TRUE(lines[2]["position"].is_null());

  EXPECT_TRUE(lines[3]["fault"].is_null());
  EXPECT_EQ(lines[3]["message"], "cannot read the line source 'x': no such file");

  for (size_t i = 4; i < lines.size(); ++i) EXPECT_EQ(lines[i]["position"], 54000 + 50 * static_cast<int>(i - 4));
}

// The SARIF 2.1.0 document, checked for what the standard requires of each object that it
// holds and for what this tool puts in them.
TEST(SarifDiagnostics, ADocumentWithTheFaultTableAsRulesAndResultsAtTheirPlaces) {
  std::ostringstream err;
  {
    Diagnostics diagnostics(err, false, DiagnosticsFormat::kSarif);
    feed(diagnostics);
  }
  const json document = json::parse(err.str());
  EXPECT_EQ(document["version"], "2.1.0");
  ASSERT_TRUE(document["runs"].is_array());
  ASSERT_EQ(document["runs"].size(), 1u);
  const json& run = document["runs"][0];

  const json& tool = run["tool"]["driver"];
  EXPECT_EQ(tool["name"], "scenario-builder");
  const json& rules = tool["rules"];
  // Every fault, every warning, and one rule for the errors that are neither.
  ASSERT_EQ(rules.size(), fault_table().size() + warning_table().size() + 1);
  std::set<std::string> ids;
  for (const json& rule : rules) {
    ASSERT_TRUE(rule["id"].is_string());
    EXPECT_TRUE(ids.insert(rule["id"]).second) << rule["id"];
    EXPECT_FALSE(rule["shortDescription"]["text"].get<std::string>().empty());
  }

  const json& results = run["results"];
  ASSERT_EQ(results.size(), 9u);
  const std::set<std::string> levels = {"none", "note", "warning", "error"};
  for (const json& result : results) {
    ASSERT_TRUE(result["message"]["text"].is_string()) << result;
    EXPECT_TRUE(levels.contains(result["level"])) << result;
    // Every result names its rule, and the rule is the driver's.
    ASSERT_TRUE(result["ruleId"].is_string()) << result;
    EXPECT_TRUE(ids.contains(result["ruleId"])) << result;
    EXPECT_EQ(rules[result["ruleIndex"].get<size_t>()]["id"], result["ruleId"]);
    for (const json& location : result["locations"]) {
      const json& physical = location["physicalLocation"];
      EXPECT_TRUE(physical["artifactLocation"]["uri"].is_string());
      // Relative paths stand on the folder the program ran in.
      EXPECT_EQ(physical["artifactLocation"]["uriBaseId"], "SRCROOT");
      // Where no line applies, the file alone.
      if (!physical.contains("region")) continue;
      EXPECT_GE(physical["region"]["startLine"], 1);
      EXPECT_GE(physical["region"]["startColumn"], 1);
    }
  }

  const json& signal = results[0];
  EXPECT_EQ(signal["ruleId"], "fault-16");
  EXPECT_EQ(signal["level"], "error");
  EXPECT_EQ(signal["message"]["text"], "fault 16: signal on an occupied cell at 8600 m");
  const json& where = signal["locations"][0]["physicalLocation"];
  EXPECT_EQ(where["artifactLocation"]["uri"], "routes/Prova%205-.txt");
  EXPECT_EQ(where["region"]["startLine"], 48);
  EXPECT_EQ(where["region"]["snippet"]["text"], kSignalRow);
  EXPECT_EQ(signal["properties"]["position_m"], 8600);

  const json& warning = results[1];
  EXPECT_EQ(warning["level"], "warning");
  EXPECT_EQ(warning["ruleId"], "W5");
  EXPECT_EQ(rules[warning["ruleIndex"].get<size_t>()]["defaultConfiguration"]["level"], "warning");
  EXPECT_EQ(warning["locations"][0]["physicalLocation"]["region"]["snippet"]["text"], "stazione,\"PAV\xc3\x8c" "A\",  8600");
  ASSERT_EQ(warning["relatedLocations"].size(), 2u);
  EXPECT_EQ(warning["relatedLocations"][0]["physicalLocation"]["region"]["startLine"], 48);
  EXPECT_EQ(warning["relatedLocations"][1]["message"]["text"], "a note without a place");
  EXPECT_FALSE(warning["relatedLocations"][1].contains("physicalLocation"));

  ASSERT_EQ(results[2]["locations"].size(), 1u);
  EXPECT_EQ(results[2]["locations"][0]["physicalLocation"]["artifactLocation"]["uri"], "routes/Prova%20linea.txt");
  EXPECT_FALSE(results[2]["locations"][0]["physicalLocation"].contains("region"));
  EXPECT_EQ(results[3]["ruleId"], "error");
  const std::string root = run["originalUriBaseIds"]["SRCROOT"]["uri"];
  EXPECT_TRUE(root.starts_with("file:///") && root.ends_with("/")) << root;
}

TEST(SarifDiagnostics, ACleanCompileStillGivesOneDocument) {
  std::ostringstream err;
  {
    Diagnostics diagnostics(err, false, DiagnosticsFormat::kSarif);
    diagnostics.close();
    diagnostics.close();
  }
  const json document = json::parse(err.str());
  EXPECT_TRUE(document["runs"][0]["results"].empty());
}

TEST(SarifDiagnostics, PathsBecomeUriReferences) {
  EXPECT_EQ(uri_of_path("Prova_linea.txt"), "Prova_linea.txt");
  EXPECT_EQ(uri_of_path("../a b/c#1.txt"), "../a%20b/c%231.txt");
  EXPECT_EQ(uri_of_path("/home/x/Citt\xc3\xa0.txt"), "file:///home/x/Citt%C3%A0.txt");
}

TEST(TextDiagnostics, WarningsAndNotesInTheShapeOfErrorsAndCountedAtTheClose) {
  std::ostringstream err;
  Diagnostics diagnostics(err, false);
  diagnostics.on_diagnostic(Diagnostic{Severity::kWarning, std::nullopt, "position moved to another cell",
                                       SourcePlace{"Prova_5-.txt", 3, 11, "segnale,  5730"}, 5730,
                                       {{"the row that holds the cell", SourcePlace{"Prova_5-.txt", 2, 1, "x"}},
                                        {"a note without a place", std::nullopt}}});
  diagnostics.close();
  EXPECT_EQ(err.str(),
            "Prova_5-.txt:3:11: warning: position moved to another cell at 5730 m\n"
            " segnale,  5730\n"
            "           ^\n"
            "Prova_5-.txt:2:1: note: the row that holds the cell\n"
            " x\n"
            " ^\n"
            "scenario-builder: note: a note without a place\n"
            "scenario-builder: 1 warning\n");
  EXPECT_EQ(diagnostics.warnings(), 1);
  EXPECT_EQ(diagnostics.faults_recorded(), 0);
}

}  // namespace
}  // namespace scenario
