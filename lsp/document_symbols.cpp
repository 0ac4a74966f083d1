#include "lsp/document_symbols.hpp"

#include <optional>
#include <span>
#include <string>

#include "lsp/hover.hpp"
#include "lsp/lsp_positions.hpp"
#include "lsp/text_lines.hpp"

namespace scenario {
namespace {

// Every row that takes a track cell is shown as a symbol: an event, unless the protocol has a
// kind that says more.
struct SymbolRow {
  std::string_view keyword;
  int kind;
};
constexpr int kNamespaceSymbol = 3;
constexpr int kEventSymbol = 24;
constexpr SymbolRow kSymbolKinds[] = {
    {"stazione", 19},             // object
    {"indicatori_vmax", 14},      // constant
    {"cartello_indicatore", 15},  // string
};

std::optional<int> symbol_kind(const RowText& row) {
  if (row.cell_kinds.empty()) return std::nullopt;
  for (const SymbolRow& symbol : kSymbolKinds)
    if (symbol.keyword == row.keyword) return symbol.kind;
  return kEventSymbol;
}

// The fields of the row whose keyword field is `keyword`, as the compiler read them.
std::span<const OutlineField> row_fields(const SourceOutline& outline, std::size_t keyword) {
  const OutlineField& row = outline.fields[keyword];
  std::size_t end = keyword + 1;
  while (end < outline.fields.size() && outline.fields[end].role == FieldRole::kRowField &&
         outline.fields[end].keyword == keyword && outline.fields[end].row == row.row)
    ++end;
  return std::span<const OutlineField>(outline.fields).subspan(keyword + 1, end - keyword - 1);
}

// The row's field named `name` as written, "" when the text does not hold it.
std::string_view field_named(std::span<const OutlineField> fields, std::string_view name) {
  for (const OutlineField& field : fields)
    if (field.described->name == name) return field.text;
  return {};
}

std::string_view position_written(std::span<const OutlineField> fields) {
  for (const OutlineField& field : fields)
    if (is_position_field(*field.described)) return field.text;
  return {};
}

nlohmann::json range_of(const SourceOutline& outline, std::size_t start, std::size_t end) {
  const TextPosition from = outline.position_of(start);
  const TextPosition to = outline.position_of(end);
  return lsp_range(from.line, from.character, to.line, to.character);
}

// From the start of the line where `start` stands to the end of the line where `end` stands.
nlohmann::json lines_range(const SourceOutline& outline, std::size_t start, std::size_t end) {
  const int first = outline.position_of(start).line;
  const TextPosition last = outline.position_of(end);
  const std::string_view last_line = outline.reader.line_text(last.line + 1);
  return lsp_range(first, 0, last.line, utf16_of_byte(last_line, last_line.size()));
}

nlohmann::json row_symbol(const SourceOutline& outline, std::size_t keyword_index, int kind) {
  const OutlineField& keyword = outline.fields[keyword_index];
  const std::span<const OutlineField> fields = row_fields(outline, keyword_index);
  const std::string position = std::string(position_written(fields)) + " m";
  std::string name = std::string(keyword.row->keyword == "stazione"              ? field_named(fields, "name")
                                 : keyword.row->keyword == "cartello_indicatore" ? field_named(fields, "text")
                                                                                 : std::string_view{});
  std::string detail = position;
  if (name.empty()) {
    name = std::string(keyword.text) + " at " + position;
    detail = std::string(keyword.row->keyword);
  }
  const std::size_t end = fields.empty() ? keyword.end : fields.back().end;
  return {{"name", name},
          {"detail", detail},
          {"kind", kind},
          {"range", lines_range(outline, keyword.start, end)},
          {"selectionRange", range_of(outline, keyword.start, keyword.end)}};
}

}  // namespace

nlohmann::json document_symbols(const SourceOutline& outline) {
  nlohmann::json sections = nlohmann::json::array();
  for (std::size_t i = 0; i < outline.fields.size(); ++i) {
    const OutlineField& field = outline.fields[i];
    if (field.role == FieldRole::kHeader) {
      sections.push_back({{"name", field.text},
                          {"detail", section_title(field.section)},
                          {"kind", kNamespaceSymbol},
                          {"range", lines_range(outline, field.start, field.end)},
                          {"selectionRange", range_of(outline, field.start, field.end)},
                          {"children", nlohmann::json::array()}});
      continue;
    }
    if (sections.empty() || field.role != FieldRole::kKeyword || field.row == nullptr) continue;
    nlohmann::json& section = sections.back();
    if (const auto kind = symbol_kind(*field.row)) section["children"].push_back(row_symbol(outline, i, *kind));
    // A section reaches to its last row.
    const std::span<const OutlineField> fields = row_fields(outline, i);
    section["range"]["end"] = lines_range(outline, field.start, fields.empty() ? field.end : fields.back().end)["end"];
  }
  return sections;
}

}  // namespace scenario
