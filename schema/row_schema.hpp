#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/cell_kinds.hpp"

namespace scenario {

// The rows of the two sources, each described once: its keyword as authors write it, the
// test that recognises it and its fields in order. The compiler binds each row to the
// routine that places it; the readers make the tests of a section in the table's order on
// every keyword field; the "did you mean" lists, the reference's row tables, the language
// server's outline and hover and the decompiler's rows come from the same entries.

// The longest route a 'lunghezza percorso' row may give (fault 1 above it).
inline constexpr int32_t kLongestRoute_m = 1000000;

// How a number or text field is read: L signed 32-bit, I signed 16-bit, B unsigned 8-bit,
// T a text.
enum class FieldType { kLong, kInteger, kByte, kText };

// The letter for a field type, as the reference writes it.
std::string_view field_type_letter(FieldType type);

// The values a field is documented to take; a value outside is stored as the field's rule
// says, with a warning at the field.
struct ValueRange {
  int64_t low;
  int64_t high;
};

struct RowField {
  std::string_view name;
  FieldType type;
  std::string_view unit;     // "metres", "km/h", "‰", "coaches", "per cent", or ""
  std::string_view meaning;  // what the field is to the driver and the simulator
  std::optional<ValueRange> range = std::nullopt;  // documented, and checked where the value is stored
  std::string_view rule = "";  // what else the value must be, in the reference's words: "a multiple of 50 (fault 8)"
};

// The place of the field `name` among `fields`, found as the program builds: a name that no
// field has stops the build here.
template <size_t kCount>
consteval size_t field_index(const RowField (&fields)[kCount], std::string_view name) {
  for (size_t i = 0; i < kCount; ++i)
    if (fields[i].name == name) return i;
  throw "the row has no field of this name";
}

// The unit, the values and the rule of a field in the reference's words ("metres, a multiple
// of 50 (fault 8)", "‰, −100 to 155 (stored as ...)"): the values from its range, else from
// its type; "" when the rules set none.
std::string unit_and_range(const RowField& field);
// What follows a value of the field in a warning: " m", " km/h", " ‰" or "".
std::string_view unit_after_value(const RowField& field);

// A keyword field holds a row's keyword when it contains every one of `words`; with
// `any_case` letter case does not count.
struct KeywordTest {
  std::array<std::string_view, 2> words;  // the second may be empty
  bool any_case = false;

  // `lower_field`: the field in small letters, made once for all the tests of a field.
  bool matches(std::string_view field, std::string_view lower_field) const;
  // The test in an author's words: "contains 'progressiva' and 'tre' (small letters)".
  std::string described() const;
};

// What every row description holds, whatever routine places it.
struct RowText {
  std::string_view keyword;                       // as the built-in sources write it
  std::span<const std::string_view> spellings;    // the keywords offered by "did you mean"
  KeywordTest test;
  std::span<const RowField> fields;
  std::string_view meaning;
  // The section header it stands under as the built-in sources lay them out ("[stazioni]"
  // for a station). The readers ignore it: after "[generale]" any row may stand anywhere.
  std::string_view header = "";
  // The kinds of track cell its feature takes; none for a row that takes no cell.
  std::span<const CellKind> cell_kinds = {};
};

// The row as it is written, its fields by name after its keyword: "pendenza, position, gradient".
std::string row_pattern(const RowText& row);

struct SectionSchema {
  std::string_view name;                        // "the general section of the line source"
  std::span<const RowText> rows;                // in the order of the tests
  std::span<const std::string_view> headers;    // the section headers of its source
};

const SectionSchema& line_general_section();
const SectionSchema& line_main_section();
const SectionSchema& service_section();

// The row a keyword field reads as: the first of the schema whose test matches it, or null.
const RowText* row_read_as(std::string_view keyword);

// One source row as the readers read it back: the keyword and a comma, then the fields as
// given (padding and all) parted by `separator` (a blank parts numbers as well as a comma).
// A keyword that the first matching test of the schema does not
// read as a row of that many fields is a std::logic_error: a writer and the readers cannot
// disagree on a row.
std::string source_row(std::string_view keyword, std::span<const std::string> fields, char separator = ',');
std::string source_row(std::string_view keyword, std::initializer_list<std::string> fields, char separator = ',');

// Every row of both sources, in the order of the sections and their tests.
std::vector<const RowText*> every_row();
// The row whose keyword is `keyword` as written, or null.
const RowText* find_row(std::string_view keyword);

// The keywords a section offers as "did you mean", in the order of its rows.
std::vector<std::string_view> section_spellings(const SectionSchema& section);

// The keyword of the first row of a section whose test asks for small letters and would
// match the field written in small letters, or "" when there is none.
std::string_view row_matched_but_for_capitals(const SectionSchema& section, std::string_view lower_keyword);

// For a row whose keyword field, beginning at `column`, is not its keyword as written: how the
// field was read as that row ("; '[stazione]' was read as a stazione row: 'stazione' at
// column 2"), else "".
std::string matched_by_containment(const RowText& row, std::string_view keyword, std::string_view lower_keyword,
                                   int column);

}  // namespace scenario
