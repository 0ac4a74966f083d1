#include "lsp/source_outline.hpp"

#include <algorithm>

#include "compiler/row_shape.hpp"
#include "lsp/text_lines.hpp"
#include "model/windows_1252.hpp"
#include "schema/section_bounds.hpp"

namespace scenario {
namespace {

// The fields of one line: a field ends at a comma; one that begins with a quote runs to the
// next quote first.
std::vector<OutlineField> fields_of(std::string_view line) {
  std::vector<OutlineField> fields;
  std::size_t at = 0;
  for (;;) {
    std::size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) start = line.size();
    std::size_t search = start;
    if (start < line.size() && line[start] == '"') {
      const std::size_t close = line.find('"', start + 1);
      search = close == std::string_view::npos ? line.size() : close + 1;
    }
    const std::size_t comma = std::min(line.find(',', search), line.size());
    std::size_t end = comma;
    while (end > start && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
    fields.push_back({start, end, line.substr(start, end - start)});
    if (comma >= line.size()) break;
    at = comma + 1;
  }
  return fields;
}

void add_rows(std::vector<const RowText*>& rows, const SectionSchema& section) {
  for (const RowText& row : section.rows) rows.push_back(&row);
}

const RowText* row_of_keyword(SectionKind section, std::string_view keyword) {
  const std::string lower = lower_case_1252(keyword);
  for (const RowText* row : rows_of_section(section))
    if (row->test.matches(keyword, lower)) return row;
  return nullptr;
}

}  // namespace

std::vector<const RowText*> rows_of_section(SectionKind section) {
  std::vector<const RowText*> rows;
  switch (section) {
    case SectionKind::kBeforeGeneral: break;
    case SectionKind::kLineGeneral: add_rows(rows, line_general_section()); break;
    case SectionKind::kLineMain: add_rows(rows, line_main_section()); break;
    case SectionKind::kService: add_rows(rows, service_section()); break;
  }
  return rows;
}

std::vector<const RowText*> rows_under_header(SectionKind section, std::string_view header) {
  std::vector<const RowText*> rows = rows_of_section(section);
  const std::string lower = lower_case_1252(header);
  const auto headers = headers_of_source(section == SectionKind::kService ? SourceRole::kService : SourceRole::kLine);
  if (std::find(headers.begin(), headers.end(), lower) == headers.end()) return rows;
  std::erase_if(rows, [&](const RowText* row) { return row->header != lower; });
  return rows;
}

std::span<const std::string_view> headers_of_source(SourceRole role) {
  return role == SourceRole::kLine ? line_general_section().headers : service_section().headers;
}

std::string_view section_title(SectionKind section) {
  switch (section) {
    case SectionKind::kBeforeGeneral: return "notes before [generale], never compiled";
    case SectionKind::kLineGeneral: return line_general_section().name;
    case SectionKind::kLineMain: return line_main_section().name;
    case SectionKind::kService: return service_section().name;
  }
  return "";
}

SourceOutline outline_source(std::string_view utf8_text, SourceRole role) {
  SourceOutline outline{role, {}};
  SectionKind section = SectionKind::kBeforeGeneral;
  std::string_view header;
  for (const std::string_view text : text_lines(utf8_text)) {
    OutlineLine line{text, section, header, fields_of(text)};
    const std::string_view first = line.fields.front().text;
    if (is_section_header(first)) {
      line.is_header = true;
      header = first;
      line.header = header;
      // As the compiler reads: the first "[generale]" begins the general section, and in the
      // line source the next header that is no dashed note ends it, a second "[generale]" too.
      if (section == SectionKind::kBeforeGeneral && begins_general_section(first))
        section = role == SourceRole::kLine ? SectionKind::kLineGeneral : SectionKind::kService;
      else if (section == SectionKind::kLineGeneral && ends_general_section(first))
        section = SectionKind::kLineMain;
      line.section = section;
    } else if (!first.empty()) {
      line.row = row_of_keyword(section, first);
    }
    outline.lines.push_back(std::move(line));
  }
  return outline;
}

int field_at(const OutlineLine& line, std::size_t byte) {
  for (std::size_t i = 0; i < line.fields.size(); ++i) {
    const OutlineField& field = line.fields[i];
    const std::size_t next_start = i + 1 < line.fields.size() ? line.fields[i + 1].start : line.text.size() + 1;
    if (byte >= field.start && byte <= field.end && (byte < next_start || byte == field.end)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace scenario
