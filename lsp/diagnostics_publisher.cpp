#include "lsp/diagnostics_publisher.hpp"

#include <algorithm>
#include <optional>

#include "lsp/lsp_positions.hpp"
#include "lsp/text_lines.hpp"
#include "model/fault_explanation.hpp"
#include "model/fault_table.hpp"
#include "model/warning_table.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

// The protocol's severities.
constexpr int kError = 1;
constexpr int kWarning = 2;

std::optional<std::string> reference_anchor(const KeptDiagnostic& diagnostic) {
  if (diagnostic.fault)
    if (const FaultDescription* fault = find_fault(*diagnostic.fault)) return heading_anchor(reference_heading(*fault));
  if (diagnostic.warning)
    if (const WarningDescription* warning = find_warning(*diagnostic.warning))
      return heading_anchor(reference_heading(*warning));
  return std::nullopt;
}

const PublishedFile* file_named(std::span<const PublishedFile> files, const std::string& name) {
  for (const PublishedFile& file : files)
    if (file.name == name) return &file;
  return nullptr;
}

// The files of one publishing with their lines, split once for all their diagnostics.
struct IndexedFiles {
  std::span<const PublishedFile> files;
  std::vector<std::vector<std::string_view>> lines;

  std::span<const std::string_view> lines_of(const PublishedFile& file) const {
    return lines[static_cast<std::size_t>(&file - files.data())];
  }
};

nlohmann::json lsp_diagnostic(const KeptDiagnostic& diagnostic, const PublishedFile& file, bool at_its_place,
                              const IndexedFiles& indexed, std::string_view reference_uri) {
  const std::span<const PublishedFile> files = indexed.files;
  nlohmann::json json;
  json["range"] = at_its_place ? range_of_place(indexed.lines_of(file), diagnostic.place->line, diagnostic.place->column)
                               : lsp_range(0, 0, 0, 0);
  json["severity"] = diagnostic.severity == Severity::kWarning ? kWarning : kError;
  json["source"] = "scenario-builder";
  std::string message = diagnostic.message;
  const std::string code = diagnostic_code(diagnostic);
  if (!code.empty()) {
    json["code"] = code;
    if (const auto anchor = reference_anchor(diagnostic); anchor && !reference_uri.empty())
      json["codeDescription"] = {{"href", std::string(reference_uri) + "#" + *anchor}};
  }
  nlohmann::json related = nlohmann::json::array();
  for (const KeptNote& note : diagnostic.notes) {
    const PublishedFile* note_file = note.place ? file_named(files, note.place->file) : nullptr;
    if (note_file == nullptr) {
      message += "\nnote: " + note.message;
      continue;
    }
    related.push_back({{"location",
                        {{"uri", note_file->uri},
                         {"range", range_of_place(indexed.lines_of(*note_file), note.place->line, note.place->column)}}},
                       {"message", note.message}});
  }
  if (!related.empty()) json["relatedInformation"] = std::move(related);
  json["message"] = std::move(message);
  if (diagnostic.fix)
    json["data"] = {{"fix",
                     {{"written", utf8_from_1252(diagnostic.fix->written)},
                      {"replacement", utf8_from_1252(diagnostic.fix->replacement)}}}};
  return json;
}

}  // namespace

std::string diagnostic_code(const KeptDiagnostic& diagnostic) {
  if (diagnostic.fault) return "fault " + std::to_string(*diagnostic.fault);
  if (diagnostic.warning) return warning_id(*diagnostic.warning);
  return "";
}

nlohmann::json range_of_place(std::span<const std::string_view> lines, int line, int column) {
  if (line < 1 || static_cast<std::size_t>(line) > lines.size()) return lsp_range(0, 0, 0, 0);
  const std::string_view shown = lines[static_cast<std::size_t>(line - 1)];
  const std::size_t start = byte_of_character(shown, column > 1 ? static_cast<std::size_t>(column - 1) : 0);
  std::size_t end = std::min(shown.find(',', start), shown.size());
  while (end > start && (shown[end - 1] == ' ' || shown[end - 1] == '\t')) --end;
  return lsp_range(line - 1, utf16_of_byte(shown, start), line - 1, utf16_of_byte(shown, end));
}

std::vector<nlohmann::json> published_diagnostics(const PairCompileResult& compile, std::span<const PublishedFile> files,
                                                  std::string_view reference_uri) {
  std::vector<nlohmann::json> lists(files.size(), nlohmann::json::array());
  if (files.empty()) return {};
  IndexedFiles indexed{files, {}};
  for (const PublishedFile& file : files) indexed.lines.push_back(text_lines(file.text));
  for (const KeptDiagnostic& diagnostic : compile.diagnostics) {
    const PublishedFile* file = diagnostic.place ? file_named(files, diagnostic.place->file) : nullptr;
    const bool at_its_place = file != nullptr;
    if (!at_its_place) {
      // A diagnostic of a file that is not there (a partner not found) says nothing of these.
      if (diagnostic.place) continue;
      file = &files.front();
    }
    lists[static_cast<std::size_t>(file - files.data())].push_back(
        lsp_diagnostic(diagnostic, *file, at_its_place, indexed, reference_uri));
  }
  std::vector<nlohmann::json> params;
  for (std::size_t i = 0; i < files.size(); ++i)
    params.push_back({{"uri", files[i].uri}, {"diagnostics", std::move(lists[i])}});
  return params;
}

}  // namespace scenario
