#include "driver/json_diagnostics.hpp"

#include "format/json_text.hpp"
#include "model/warning_table.hpp"

namespace scenario {
namespace {

JsonValue optional_number(const std::optional<int64_t>& number) { return number ? JsonValue(*number) : JsonValue(); }

// "file", "line" and "column" of a place, null when there is none; the file alone when
// no line applies.
void add_place(JsonValue& object, const std::optional<SourcePlace>& place, std::string_view file = {}) {
  object["file"] = place ? json_text(place->file) : file.empty() ? JsonValue() : json_text(file);
  object["line"] = place ? JsonValue(place->line) : JsonValue();
  object["column"] = place ? JsonValue(place->column) : JsonValue();
}

}  // namespace

void JsonDiagnostics::report(const Diagnostic& diagnostic) {
  JsonValue line;
  line["severity"] = diagnostic.severity == Severity::kWarning ? "warning" : "error";
  line["fault"] = optional_number(diagnostic.fault);
  line["warning"] = diagnostic.warning ? json_text(warning_id(*diagnostic.warning)) : JsonValue();
  line["message"] = json_text(diagnostic.message);
  add_place(line, diagnostic.place, diagnostic.file);
  line["position"] = optional_number(diagnostic.position_m);
  JsonValue& notes = line["notes"] = JsonValue::array();
  for (const DiagnosticNote& note : diagnostic.notes) {
    JsonValue entry;
    entry["message"] = json_text(note.message);
    add_place(entry, note.place);
    notes.push_back(std::move(entry));
  }
  err_ << json_line(line) << '\n';
}

void JsonDiagnostics::close(const DiagnosticsSummary&) { err_.flush(); }

}  // namespace scenario
