#include "lsp/completion.hpp"

#include <optional>
#include <string>

#include "lsp/lsp_positions.hpp"

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

// The field the compiler would read at `cursor`: the field it stands in, or, past a field
// and the comma or line end that closes it, the next one. Null at the text's start.
struct FieldAtCursor {
  const OutlineField* field = nullptr;  // the field, or the last one before the cursor
  bool next = false;                    // the cursor stands in the field after `field`
};

FieldAtCursor field_at_cursor(const SourceOutline& outline, std::size_t cursor) {
  const int before = outline.field_before(cursor);
  if (before < 0) return {};
  const OutlineField& field = outline.fields[static_cast<std::size_t>(before)];
  const bool closed = cursor > field.end &&
                      outline.text.substr(field.end, cursor - field.end).find_first_of(",\r\n") != std::string_view::npos;
  return {&field, closed};
}

// Whether a keyword field stands at the cursor, where a row or a header may be written.
bool keyword_at(const SourceOutline& outline, const FieldAtCursor& at) {
  if (at.field == nullptr) return true;
  if (!at.next) return at.field->role != FieldRole::kRowField;
  const auto index = static_cast<std::size_t>(at.field - outline.fields.data()) + 1;
  if (index == outline.fields.size()) return outline.ends_at_keyword;
  return outline.fields[index].role != FieldRole::kRowField;
}

}  // namespace

nlohmann::json completion_at(const SourceOutline& outline, int line_number, int character, CompletionText format) {
  nlohmann::json items = nlohmann::json::array();
  const nlohmann::json empty = {{"isIncomplete", false}, {"items", items}};
  const std::optional<std::size_t> cursor = outline.byte_at(line_number, character);
  if (!cursor) return empty;
  const FieldAtCursor at = field_at_cursor(outline, *cursor);
  // Only a keyword field holds a keyword or a header.
  if (!keyword_at(outline, at)) return empty;
  const std::size_t from = at.field == nullptr || at.next ? *cursor : std::min(at.field->start, *cursor);
  const TextPosition start = outline.position_of(from);
  const nlohmann::json replaced = lsp_range(start.line, start.character, line_number, character);
  const SectionKind section = at.field == nullptr ? SectionKind::kBeforeGeneral : at.field->section;
  const std::string_view under_header = at.field == nullptr ? std::string_view{} : at.field->header;

  // The rows of the header the line would stand under: a header line's own is the one it begins.
  const bool snippets = format == CompletionText::kSnippet;
  for (const RowText* row : rows_under_header(section, under_header)) {
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
