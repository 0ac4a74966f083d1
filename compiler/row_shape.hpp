#pragma once

#include <optional>
#include <string>
#include <utility>

#include <span>
#include <string_view>

#include "compiler/compile_context.hpp"
#include "schema/field_reader.hpp"
#include "schema/row_schema.hpp"

namespace scenario {

// The words a section knows: its keywords as authors write them, and the section headers
// of its source.
struct SectionWords {
  std::span<const std::string_view> keywords;
  std::span<const std::string_view> headers;
  std::string_view but_for_capitals = {};  // the row the field would be, written in small letters
};

// Warns of what is legal but rarely meant in how rows stand on their lines: a row whose
// fields run over a line end, a line that holds more fields than its row, a keyword field
// that matches nothing (with the keyword it is close to), a header no source has.
class RowShape {
 public:
  RowShape(CompileContext& context, FieldReader& reader) : context_(context), reader_(reader) {}

  // The field just read holds a dash, so the field after it stands for it as the keyword.
  void dashed_field(std::string_view field);
  // The field just read is a keyword field: its row is the one being compiled.
  void start_row();
  // The keyword tests of the row are done; `matched` is the row they read, null for none.
  void end_row(const RowText* matched, std::string_view keyword, const SectionWords& words);

 private:
  void end_matched_row(const RowText& matched, std::string_view keyword, const SourcePlace& row, const std::string& shown);
  // The first field of the row just read that came from a line after `row_line`, named as
  // the row reads it, and how many followed: "name '[segnali]' from line 16", or "".
  std::string fields_from_later_lines(const RowText& matched, int row_line) const;
  // "; the stazione row before it took '0' as its name", or "" when the last row is not whole.
  std::string how_last_row_ended() const;

  CompileContext& context_;
  FieldReader& reader_;
  int last_row_end_line_ = 0;  // the line of the last field of the last row read
  int quiet_line_ = 0;         // a line already warned of: what else it holds is not
  // The last row read and its last field as written, when it read all of its fields: told
  // when the rest of its line matches no row.
  const RowText* last_row_ = nullptr;
  std::string_view last_row_last_field_;
  // The first field with a dash before the keyword field of the row, as written, and its place.
  std::optional<std::pair<std::string, SourcePlace>> dashed_;
  std::optional<std::pair<std::string, SourcePlace>> row_dashed_;
};

// The one word of `words` closest to `field` (letter case aside) within a small number of
// edits, or "" when there is none or more than one.
std::string_view closest_word(std::string_view field, std::span<const std::string_view> words);

// Whether a field is a section header: it holds "[" and "]".
bool is_section_header(std::string_view field);

}  // namespace scenario
