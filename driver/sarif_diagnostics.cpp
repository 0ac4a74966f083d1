#include "driver/sarif_diagnostics.hpp"

#include <filesystem>
#include <span>
#include <utility>

#include "model/fault_explanation.hpp"
#include "format/file_uri.hpp"
#include "format/json_text.hpp"
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

std::string rule(std::string_view id, std::string_view title, std::string_view explanation,
                 std::span<const FaultCause> causes, std::string_view level) {
  return "\n        {\"id\": " + json_string(id) + ", \"shortDescription\": {\"text\": " + json_string(title) + "}" +
         ", \"fullDescription\": {\"text\": " + json_string(explanation) + "}" +
         ", \"help\": {\"text\": " + json_string(help_text(causes)) + "}" +
         ", \"defaultConfiguration\": {\"level\": \"" + std::string(level) + "\"}}";
}

// Every fault, then every warning, each a rule.
std::string rules() {
  std::string text;
  for (const FaultDescription& fault : fault_table()) {
    if (!text.empty()) text += ",";
    text += rule(rule_id(fault_number(fault.fault)), fault.meaning, fault.explanation, fault_causes(fault), "error");
  }
  for (const WarningDescription& warning : warning_table())
    text += "," + rule(warning_id(warning_number(warning.warning)), warning.title, warning.explanation,
                       warning_causes(warning), "warning");
  text += "," + rule(kOtherErrorRule, "error that is no fault",
                     "A source that cannot be read or decoded, or of which nothing would be compiled.", {}, "error");
  return text;
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

std::string artifact_location(std::string_view file) {
  std::string text = "\"artifactLocation\": {\"uri\": " + json_string(uri_of_path(file));
  if (!file.starts_with('/')) text += ", \"uriBaseId\": " + json_string(kSourceRoot);
  return text + "}";
}

// The folder the program ran in, as the base of the relative paths.
std::string original_uri_base_ids() {
  std::error_code error;
  std::string folder = std::filesystem::current_path(error).string();
  if (error) return "";
  if (!folder.ends_with('/')) folder += '/';
  return "    \"originalUriBaseIds\": {" + json_string(kSourceRoot) + ": {\"uri\": " + json_string(uri_of_path(folder)) +
         "}},\n";
}

std::string physical_location(const SourcePlace& place) {
  return "\"physicalLocation\": {" + artifact_location(place.file) + ", \"region\": {\"startLine\": " + std::to_string(place.line) +
         ", \"startColumn\": " + std::to_string(place.column) +
         ", \"snippet\": {\"text\": " + json_string(utf8_from_1252(place.line_text)) + "}}}";
}

}  // namespace

void SarifDiagnostics::report(const Diagnostic& diagnostic) {
  std::string result = "{";
  if (const auto rule = rule_of(diagnostic))
    result += "\"ruleId\": " + json_string(rule->first) + ", \"ruleIndex\": " + std::to_string(rule->second) + ", ";
  result += "\"level\": ";
  result += diagnostic.severity == Severity::kWarning ? "\"warning\"" : "\"error\"";
  result += ", \"message\": {\"text\": " + json_string(diagnostic_headline(diagnostic)) + "}";
  result += ", \"locations\": [";
  if (diagnostic.place)
    result += "{" + physical_location(*diagnostic.place) + "}";
  else if (!diagnostic.file.empty())
    result += "{\"physicalLocation\": {" + artifact_location(diagnostic.file) + "}}";
  result += "]";
  if (!diagnostic.notes.empty()) {
    result += ", \"relatedLocations\": [";
    for (size_t i = 0; i < diagnostic.notes.size(); ++i) {
      const DiagnosticNote& note = diagnostic.notes[i];
      if (i > 0) result += ", ";
      result += "{\"id\": " + std::to_string(i + 1) + ", \"message\": {\"text\": " + json_string(note.message) + "}";
      if (note.place) result += ", " + physical_location(*note.place);
      result += "}";
    }
    result += "]";
  }
  if (diagnostic.position_m) result += ", \"properties\": {\"position_m\": " + std::to_string(*diagnostic.position_m) + "}";
  result += "}";
  results_.push_back(std::move(result));
}

void SarifDiagnostics::close(const DiagnosticsSummary&) {
  err_ << "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n  \"version\": \"2.1.0\",\n"
       << "  \"runs\": [{\n    \"tool\": {\"driver\": {\n      \"name\": \"scenario-builder\",\n"
       << "      \"version\": \"" << SCENARIO_BUILDER_VERSION << "\",\n      \"rules\": [" << rules()
       << "\n      ]\n    }},\n" << original_uri_base_ids() << "    \"columnKind\": \"unicodeCodePoints\",\n    \"results\": [";
  for (size_t i = 0; i < results_.size(); ++i) err_ << (i > 0 ? ",\n      " : "\n      ") << results_[i];
  err_ << (results_.empty() ? "]\n  }]\n}\n" : "\n    ]\n  }]\n}\n");
  results_.clear();
  err_.flush();
}

}  // namespace scenario
