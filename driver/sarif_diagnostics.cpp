#include "driver/sarif_diagnostics.hpp"

#include <filesystem>
#include <span>
#include <utility>

#include "model/fault_explanation.hpp"
#include "format/file_uri.hpp"
#include "model/fault_table.hpp"
#include "model/warning_table.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

std::string rule_id(int fault) { return "fault-" + std::to_string(fault); }

// The rule of every error that is neither a fault nor a warning under --werror.
constexpr std::string_view kOtherErrorRule = "error";

// The base of relative paths: the folder the program ran in.
constexpr std::string_view kSourceRoot = "SRCROOT";

// {"text": ...}, the form of every message and description.
JsonValue text_of(std::string_view text) { return {{"text", json_text(text)}}; }

JsonValue rule(std::string_view id, std::string_view title, std::string_view explanation,
               std::span<const FaultCause> causes, std::string_view level) {
  return {{"id", json_text(id)},
          {"shortDescription", text_of(title)},
          {"fullDescription", text_of(explanation)},
          {"help", text_of(help_text(causes))},
          {"defaultConfiguration", {{"level", level}}}};
}

// Every fault, then every warning, each a rule.
JsonValue rules() {
  JsonValue list = JsonValue::array();
  for (const FaultDescription& fault : fault_table())
    list.push_back(rule(rule_id(fault_number(fault.fault)), fault.meaning, fault.explanation, fault_causes(fault), "error"));
  for (const WarningDescription& warning : warning_table())
    list.push_back(rule(warning_id(warning_number(warning.warning)), warning.title, warning.explanation,
                        warning_causes(warning), "warning"));
  list.push_back(rule(kOtherErrorRule, "error that is no fault",
                      "A source that cannot be read or decoded, or of which nothing would be compiled.", {}, "error"));
  return list;
}

// The rule of a diagnostic and its index in rules(), which lists both tables in order.
std::optional<std::pair<std::string, size_t>> rule_of(const Diagnostic& diagnostic) {
  const auto faults = fault_table();
  if (diagnostic.fault) {
    for (size_t i = 0; i < faults.size(); ++i)
      if (fault_number(faults[i].fault) == *diagnostic.fault) return std::pair{rule_id(*diagnostic.fault), i};
  }
  if (diagnostic.warning) {
    const auto warnings = warning_table();
    for (size_t i = 0; i < warnings.size(); ++i)
      if (warning_number(warnings[i].warning) == *diagnostic.warning)
        return std::pair{warning_id(*diagnostic.warning), faults.size() + i};
  }
  if (diagnostic.severity == Severity::kError)
    return std::pair{std::string(kOtherErrorRule), faults.size() + warning_table().size()};
  return std::nullopt;
}

JsonValue artifact_location(std::string_view file) {
  JsonValue location = {{"uri", json_text(uri_of_path(file))}};
  if (!file.starts_with('/')) location["uriBaseId"] = kSourceRoot;
  return location;
}

JsonValue physical_location(const SourcePlace& place) {
  return {{"artifactLocation", artifact_location(place.file)},
          {"region",
           {{"startLine", place.line},
            {"startColumn", place.column},
            {"snippet", text_of(utf8_from_1252(place.line_text))}}}};
}

}  // namespace

void SarifDiagnostics::report(const Diagnostic& diagnostic) {
  JsonValue result;
  if (const auto rule = rule_of(diagnostic)) {
    result["ruleId"] = rule->first;
    result["ruleIndex"] = rule->second;
  }
  result["level"] = diagnostic.severity == Severity::kWarning ? "warning" : "error";
  result["message"] = text_of(diagnostic_headline(diagnostic));
  JsonValue& locations = result["locations"] = JsonValue::array();
  if (diagnostic.place)
    locations.push_back({{"physicalLocation", physical_location(*diagnostic.place)}});
  else if (!diagnostic.file.empty())
    locations.push_back({{"physicalLocation", {{"artifactLocation", artifact_location(diagnostic.file)}}}});
  if (!diagnostic.notes.empty()) {
    JsonValue& related = result["relatedLocations"] = JsonValue::array();
    for (size_t i = 0; i < diagnostic.notes.size(); ++i) {
      const DiagnosticNote& note = diagnostic.notes[i];
      JsonValue location = {{"id", i + 1}, {"message", text_of(note.message)}};
      if (note.place) location["physicalLocation"] = physical_location(*note.place);
      related.push_back(std::move(location));
    }
  }
  if (diagnostic.position_m) result["properties"] = {{"position_m", *diagnostic.position_m}};
  results_.push_back(std::move(result));
}

void SarifDiagnostics::close(const DiagnosticsSummary&) {
  JsonValue run;
  run["tool"] = {{"driver", {{"name", "scenario-builder"}, {"version", SCENARIO_BUILDER_VERSION}, {"rules", rules()}}}};
  // The folder the program ran in, as the base of the relative paths.
  std::error_code error;
  std::string folder = std::filesystem::current_path(error).string();
  if (!error) {
    if (!folder.ends_with('/')) folder += '/';
    run["originalUriBaseIds"] = {{kSourceRoot, {{"uri", json_text(uri_of_path(folder))}}}};
  }
  run["columnKind"] = "unicodeCodePoints";
  run["results"] = std::move(results_);
  results_ = JsonValue::array();
  const JsonValue document = {{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                              {"version", "2.1.0"},
                              {"runs", JsonValue::array({std::move(run)})}};
  err_ << json_document(document);
  err_.flush();
}

}  // namespace scenario
