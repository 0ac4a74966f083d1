#include "lsp/completion.hpp"

#include <string>

#include "lsp/lsp_positions.hpp"
#include "lsp/text_lines.hpp"

namespace scenario {
namespace {

// The protocol's kinds and formats.
constexpr int kKeywordItem = 14;
constexpr int kModuleItem = 9;
constexpr int kPlainText = 1;
constexpr int kSnippet = 2;

// The row as a snippet: its keyword, then a tab stop per field named after it.
std::string row_snippet(const RowText& row) {
  std::string text = std::string(row.keyword);
  int stop = 0;
  for (const RowField& field : row.fields) text += ", ${" + std::to_string(++stop) + ":" + std::string(field.name) + "}";
  return text;
}

// The row's keyword and the comma after it, where the first field is typed next.
std::string row_plain_text(const RowText& row) { return std::string(row.keyword) + ", "; }

}  // namespace

nlohmann::json completion_at(const SourceOutline& outline, int line_number, int character, CompletionText format) {
  nlohmann::json items = nlohmann::json::array();
  const nlohmann::json empty = {{"isIncomplete", false}, {"items", items}};
  if (line_number < 0 || static_cast<std::size_t>(line_number) >= outline.lines.size()) return empty;
  const OutlineLine& line = outline.lines[static_cast<std::size_t>(line_number)];
  const std::size_t cursor = byte_of_utf16(line.text, character);
  const OutlineField& first = line.fields.front();
  // Only the first field of a line holds a keyword or a header.
  if (line.fields.size() > 1 && cursor > line.text.find(',', first.end)) return empty;
  const std::size_t from = std::min(first.start, cursor);
  const nlohmann::json replaced = lsp_range(line_number, utf16_of_byte(line.text, from), line_number, character);

  // The rows of the header the line would stand under: a header line's own is the one it begins.
  const bool snippets = format == CompletionText::kSnippet;
  for (const RowText* row : rows_under_header(line.section, line.header)) {
    items.push_back({{"label", row->keyword},
                     {"kind", kKeywordItem},
                     {"detail", row_pattern(*row)},
                     {"documentation", {{"kind", "markdown"}, {"value", std::string(row->meaning)}}},
                     {"insertTextFormat", snippets ? kSnippet : kPlainText},
                     {"textEdit", {{"range", replaced}, {"newText", snippets ? row_snippet(*row) : row_plain_text(*row)}}}});
  }
  for (const std::string_view header : headers_of_source(outline.role)) {
    items.push_back({{"label", header},
                     {"kind", kModuleItem},
                     {"detail", "section header"},
                     {"insertTextFormat", kPlainText},
                     {"textEdit", {{"range", replaced}, {"newText", header}}}});
  }
  return {{"isIncomplete", false}, {"items", std::move(items)}};
}

}  // namespace scenario
