#include "lsp/source_outline.hpp"

#include <algorithm>

#include "compiler/row_shape.hpp"
#include "lsp/text_lines.hpp"
#include "model/windows_1252.hpp"
#include "schema/section_bounds.hpp"

namespace scenario {
namespace {

std::span<const RowText> section_rows(SectionKind section) {
  switch (section) {
    case SectionKind::kBeforeGeneral: break;
    case SectionKind::kLineGeneral: return line_general_section().rows;
    case SectionKind::kLineMain: return line_main_section().rows;
    case SectionKind::kService: return service_section().rows;
  }
  return {};
}

// Reads the fields of a text in the steps of the compiler's readers: the fields before
// [generale] skipped, then keyword fields, each followed by the fields of every row whose
// keyword test it passes, read by their types. A field that would stop the compile (a number
// that holds text) is taken as written, so that what follows it is read on.
class OutlineReading {
 public:
  explicit OutlineReading(SourceOutline& outline) : outline_(outline), reader_(outline.reader) {}

  void run() {
    while (!reader_.at_end()) {
      reader_.read_text();
      const bool begins = begins_general_section(reader_.last_field().text);
      if (begins) {
        section_ = outline_.role == SourceRole::kLine ? SectionKind::kLineGeneral : SectionKind::kService;
        header_ = reader_.last_field().text;
      }
      // A header before it begins nothing, but is still a header to the author.
      add(begins || is_section_header(reader_.last_field().text) ? FieldRole::kHeader : FieldRole::kNote);
      if (begins) break;
    }
    while (!reader_.at_end()) read_row();
  }

 private:
  void read_row() {
    const SectionKind reading_in = section_;
    reader_.read_text();
    const int dashes = reading_in == SectionKind::kLineGeneral ? kGeneralSectionDashes : kDashesAfterGeneral;
    for (int i = 0; i < dashes && contains(reader_.last_field().text, "-") && !reader_.at_end(); ++i) {
      add(FieldRole::kNote);
      reader_.read_text();
    }
    const std::string_view keyword = reader_.last_field().text;
    const bool header = is_section_header(keyword);
    if (header) header_ = keyword;
    if (reading_in == SectionKind::kLineGeneral && ends_general_section(keyword)) section_ = SectionKind::kLineMain;
    const FieldRole role = header ? FieldRole::kHeader : FieldRole::kKeyword;
    // The last field of the text is never a row: its row could have no fields behind it.
    if (reader_.at_end()) return add(role);
    const std::size_t keyword_index = outline_.fields.size();
    const std::string lower = lower_case_1252(keyword);
    bool matched = false;
    for (const RowText& row : section_rows(reading_in)) {
      if (!row.test.matches(keyword, lower)) continue;
      if (!matched) add(role, &row);
      matched = true;
      if (!read_fields(row, keyword_index)) return;
    }
    if (!matched) add(role);
  }

  // False when the text ends inside the row.
  bool read_fields(const RowText& row, std::size_t keyword_index) {
    for (const RowField& field : row.fields) {
      if (reader_.at_end()) {
        outline_.ends_at_keyword = false;
        return false;
      }
      if (field.type == FieldType::kText)
        reader_.read_text();
      else
        reader_.read_number_text();
      add(FieldRole::kRowField, &row, &field, keyword_index);
    }
    return true;
  }

  void add(FieldRole role, const RowText* row = nullptr, const RowField* described = nullptr, std::size_t keyword = 0) {
    const FieldReader::ReadField read = reader_.last_field();
    const std::string_view text = outline_.text;
    // A quoted text begins at its quote; it ends past its closing quote, if it has one.
    const std::size_t text_begin = static_cast<std::size_t>(read.text.data() - text.data());
    std::size_t end = text_begin + read.text.size();
    if (text_begin > read.offset && end < text.size() && text[end] == '"') ++end;
    outline_.fields.push_back({read.offset, end, read.text, role, section_, header_, row, described, keyword});
  }

  SourceOutline& outline_;
  FieldReader& reader_;
  SectionKind section_ = SectionKind::kBeforeGeneral;
  std::string_view header_;
};

}  // namespace

SourceOutline::SourceOutline(std::string_view utf8_text, SourceRole source_role)
    : role(source_role), text(utf8_text), reader(utf8_text) {
  // Room for a field at every comma and line end, taken at once: a long text's fields grown
  // into step by step cost more in fresh memory than their reading.
  fields.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) +
                 static_cast<std::size_t>(reader.place_of(text.size()).line));
  OutlineReading(*this).run();
}

SourceOutline outline_source(std::string_view utf8_text, SourceRole role) { return SourceOutline(utf8_text, role); }

std::optional<std::size_t> SourceOutline::byte_at(int line, int character) const {
  if (line < 0 || line >= reader.place_of(text.size()).line) return std::nullopt;
  const std::string_view line_text = reader.line_text(line + 1);
  return static_cast<std::size_t>(line_text.data() - text.data()) + byte_of_utf16(line_text, character);
}

TextPosition SourceOutline::position_of(std::size_t byte) const {
  const SourcePlace place = reader.place_of(std::min(byte, text.size()));
  return {place.line - 1, utf16_of_byte(place.line_text, static_cast<std::size_t>(place.column - 1))};
}

int SourceOutline::field_before(std::size_t byte) const {
  const auto after = std::upper_bound(fields.begin(), fields.end(), byte,
                                      [](std::size_t at, const OutlineField& field) { return at < field.start; });
  return static_cast<int>(after - fields.begin()) - 1;
}

int SourceOutline::field_at(std::size_t byte) const {
  const int before = field_before(byte);
  if (before < 0 || byte > fields[static_cast<std::size_t>(before)].end) return -1;
  return before;
}

SectionKind SourceOutline::section_at(std::size_t byte) const {
  const int before = field_before(byte);
  return before < 0 ? SectionKind::kBeforeGeneral : fields[static_cast<std::size_t>(before)].section;
}

std::vector<const RowText*> rows_of_section(SectionKind section) {
  std::vector<const RowText*> rows;
  for (const RowText& row : section_rows(section)) rows.push_back(&row);
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

}  // namespace scenario
