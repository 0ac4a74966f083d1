#include "lsp/document_symbols.hpp"

#include <optional>
#include <string>

#include "lsp/hover.hpp"
#include "lsp/lsp_positions.hpp"
#include "lsp/text_lines.hpp"

namespace scenario {
namespace {

// The rows that are shown as symbols, with the protocol's symbol kind of each.
struct SymbolRow {
  std::string_view keyword;
  int kind;
};
constexpr int kNamespaceSymbol = 3;
constexpr SymbolRow kSymbolRows[] = {
    {"stazione", 19},             // object
    {"segnale", 24},              // event
    {"rallentamento", 24},        // event
    {"indicatori_vmax", 14},      // constant
    {"cartello_indicatore", 15},  // string
};

std::optional<int> symbol_kind(const RowText& row) {
  for (const SymbolRow& symbol : kSymbolRows)
    if (symbol.keyword == row.keyword) return symbol.kind;
  return std::nullopt;
}

// The row's field named `name` as written, "" when the line does not hold it.
std::string_view field_named(const OutlineLine& line, std::string_view name) {
  for (std::size_t i = 0; i < line.row->fields.size() && i + 1 < line.fields.size(); ++i)
    if (line.row->fields[i].name == name) return line.fields[i + 1].text;
  return {};
}

std::string_view position_written(const OutlineLine& line) {
  for (std::size_t i = 0; i < line.row->fields.size() && i + 1 < line.fields.size(); ++i)
    if (is_position_field(line.row->fields[i])) return line.fields[i + 1].text;
  return {};
}

std::string_view unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

nlohmann::json line_range(int number, const OutlineLine& line) {
  return lsp_range(number, 0, number, utf16_of_byte(line.text, line.text.size()));
}

nlohmann::json row_symbol(int number, const OutlineLine& line, int kind) {
  const std::string position = std::string(position_written(line)) + " m";
  std::string name = std::string(unquoted(line.row->keyword == "stazione" ? field_named(line, "name")
                                          : line.row->keyword == "cartello_indicatore" ? field_named(line, "text")
                                                                                       : std::string_view{}));
  std::string detail = position;
  if (name.empty()) {
    name = std::string(line.fields.front().text) + " at " + position;
    detail = std::string(line.row->keyword);
  }
  const OutlineField& keyword = line.fields.front();
  return {{"name", name},
          {"detail", detail},
          {"kind", kind},
          {"range", line_range(number, line)},
          {"selectionRange", lsp_range(number, utf16_of_byte(line.text, keyword.start), number,
                                       utf16_of_byte(line.text, keyword.end))}};
}

}  // namespace

nlohmann::json document_symbols(const SourceOutline& outline) {
  nlohmann::json sections = nlohmann::json::array();
  for (std::size_t i = 0; i < outline.lines.size(); ++i) {
    const OutlineLine& line = outline.lines[i];
    const int number = static_cast<int>(i);
    if (line.is_header) {
      const OutlineField& header = line.fields.front();
      sections.push_back({{"name", header.text},
                          {"detail", section_title(line.section)},
                          {"kind", kNamespaceSymbol},
                          {"range", line_range(number, line)},
                          {"selectionRange", lsp_range(number, utf16_of_byte(line.text, header.start), number,
                                                       utf16_of_byte(line.text, header.end))},
                          {"children", nlohmann::json::array()}});
      continue;
    }
    if (sections.empty() || line.row == nullptr) continue;
    if (const auto kind = symbol_kind(*line.row)) sections.back()["children"].push_back(row_symbol(number, line, *kind));
    // A section reaches to its last row.
    sections.back()["range"]["end"] = line_range(number, line)["end"];
  }
  return sections;
}

}  // namespace scenario
