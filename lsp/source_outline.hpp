#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "schema/row_schema.hpp"
#include "lsp/source_pairing.hpp"

namespace scenario {

// The rows of an editor's text as an author laid them out, one row a line, for hover,
// completion and symbols: sections by their headers, rows by the row schema's keyword
// tests, fields by their commas. The compiler reads the same text as a stream of fields;
// this reading only needs to find what stands under the cursor.

// Which rows a line may hold, by where it stands in its source.
enum class SectionKind {
  kBeforeGeneral,  // before [generale]: notes, nothing compiled
  kLineGeneral,    // the line source from [generale] to the next header
  kLineMain,       // the line source after that
  kService,        // the service source after [generale]
};

// A field of a line: bytes [start, end) of the UTF-8 line, blanks around it left out.
struct OutlineField {
  std::size_t start = 0;
  std::size_t end = 0;
  std::string_view text;
};

struct OutlineLine {
  std::string_view text;
  SectionKind section = SectionKind::kBeforeGeneral;
  std::string_view header;        // the first field of the last header line up to this one, "" before any
  std::vector<OutlineField> fields;
  bool is_header = false;         // the first field is a section header
  const RowText* row = nullptr;   // the row its first field begins, if any
};

struct SourceOutline {
  SourceRole role = SourceRole::kLine;
  std::vector<OutlineLine> lines;
};

SourceOutline outline_source(std::string_view utf8_text, SourceRole role);

// The rows a section offers, in the order of their tests.
std::vector<const RowText*> rows_of_section(SectionKind section);
// The rows a line offers under the header it stands under: those the header holds as the
// built-in sources lay them out (none under "[fine]"), or every row of the section under a
// header the source does not have.
std::vector<const RowText*> rows_under_header(SectionKind section, std::string_view header);
// The section headers of a source.
std::span<const std::string_view> headers_of_source(SourceRole role);
// The section a header begins, as a source read so far would take it.
std::string_view section_title(SectionKind section);

// The field of a line under byte `byte`, or -1; a byte just past a field still counts as
// in it, so that the cursor at a field's end finds it.
int field_at(const OutlineLine& line, std::size_t byte);

}  // namespace scenario
