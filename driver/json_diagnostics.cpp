#include "driver/json_diagnostics.hpp"

#include "format/json_text.hpp"
#include "model/warning_table.hpp"

namespace scenario {
namespace {

// "file", "line" and "column" of a place, null when there is none; the file alone when
// no line applies.
std::string place_members(const std::optional<SourcePlace>& place, std::string_view file = {}) {
  if (!place && !file.empty()) return "\"file\": " + json_string(file) + ", \"line\": null, \"column\": null";
  if (!place) return "\"file\": null, \"line\": null, \"column\": null";
  return "\"file\": " + json_string(place->file) + ", \"line\": " + std::to_string(place->line) +
         ", \"column\": " + std::to_string(place->column);
}

}  // namespace

void JsonDiagnostics::report(const Diagnostic& diagnostic) {
  std::string line = "{\"severity\": ";
  line += diagnostic.severity == Severity::kWarning ? "\"warning\"" : "\"error\"";
  line += ", \"fault\": " + json_optional(diagnostic.fault);
  line += ", \"warning\": " + (diagnostic.warning ? json_string(warning_id(*diagnostic.warning)) : std::string("null"));
  line += ", \"message\": " + json_string(diagnostic.message);
  line += ", " + place_members(diagnostic.place, diagnostic.file);
  line += ", \"position\": " + json_optional(diagnostic.position_m);
  line += ", \"notes\": [";
  for (size_t i = 0; i < diagnostic.notes.size(); ++i) {
    const DiagnosticNote& note = diagnostic.notes[i];
    if (i > 0) line += ", ";
    line += "{\"message\": " + json_string(note.message) + ", " + place_members(note.place) + "}";
  }
  line += "]}\n";
  err_ << line;
}

void JsonDiagnostics::close(const DiagnosticsSummary&) { err_.flush(); }

}  // namespace scenario
