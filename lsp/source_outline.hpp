#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "lsp/source_pairing.hpp"
#include "schema/field_reader.hpp"
#include "schema/row_schema.hpp"

namespace scenario {

// The fields of an editor's text as the compiler reads them, for hover, completion and
// symbols: the compiler's own field reader takes the text as one stream of fields, over line
// ends, and each field is what the reading makes of it — a note skipped before [generale], a
// section header, a row's keyword field, or a field of the row the keyword began, read by its
// type in the row schema. A row whose fields run over lines is one row, as compiled.

// Which rows a field may begin, by where it stands in its source.
enum class SectionKind {
  kBeforeGeneral,  // before [generale]: notes, nothing compiled
  kLineGeneral,    // the line source from [generale] to the next header
  kLineMain,       // the line source after that
  kService,        // the service source after [generale]
};

// What the reading makes of a field.
enum class FieldRole {
  kNote,      // skipped: before [generale], or a field with a dash that the next stands for
  kHeader,    // a section header where a keyword field stands
  kKeyword,   // a keyword field: `row` is the row its keyword test reads, null for none
  kRowField,  // a field of the row `row`, described by `described`
};

struct OutlineField {
  std::size_t start = 0;  // bytes [start, end) of the text as written, a quoted text's quotes included
  std::size_t end = 0;
  std::string_view text;  // as the compiler takes it: a quoted text without its quotes
  FieldRole role = FieldRole::kNote;
  SectionKind section = SectionKind::kBeforeGeneral;  // a header's: the section it begins
  std::string_view header;  // the last section header up to the field, "" before any
  const RowText* row = nullptr;
  const RowField* described = nullptr;
  std::size_t keyword = 0;  // a row field: the index of its row's keyword field
};

// A position of the protocol: line from 0, character in UTF-16 units.
struct TextPosition {
  int line = 0;
  int character = 0;
};

struct SourceOutline {
  SourceOutline(std::string_view utf8_text, SourceRole role);

  SourceRole role;
  std::string_view text;
  FieldReader reader;                // the reader that read the fields; it tells their lines
  std::vector<OutlineField> fields;  // in the order read, which is the order of the text
  bool ends_at_keyword = true;       // the next field after the text would be a keyword field

  // The byte of the text at a protocol position, null for a line past the last; a character
  // past its line's end is the line's end.
  std::optional<std::size_t> byte_at(int line, int character) const;
  TextPosition position_of(std::size_t byte) const;
  // The field under byte `byte`, or -1; a byte just past a field still counts as in it, so
  // that the cursor at a field's end finds it.
  int field_at(std::size_t byte) const;
  // The last field that begins at or before `byte`, or -1.
  int field_before(std::size_t byte) const;
  // The section a field at `byte` would be read in.
  SectionKind section_at(std::size_t byte) const;
};

SourceOutline outline_source(std::string_view utf8_text, SourceRole role);

// The rows a section offers, in the order of their tests.
std::vector<const RowText*> rows_of_section(SectionKind section);
// The rows a field offers under the header it stands under: those the header holds as the
// built-in sources lay them out (none under "[fine]"), or every row of the section under a
// header the source does not have.
std::vector<const RowText*> rows_under_header(SectionKind section, std::string_view header);
// The section headers of a source.
std::span<const std::string_view> headers_of_source(SourceRole role);
// The section a header begins, as a source read so far would take it.
std::string_view section_title(SectionKind section);

}  // namespace scenario
