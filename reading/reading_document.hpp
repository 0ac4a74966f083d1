#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace scenario {

// What the reading commands print, independent of the form: named sections of fields and
// rows. The text and the JSON document are two renderings of one document, so they cannot
// tell different stories. Texts are UTF-8.
// A number with a fixed count of decimals: the text shows it as it stands ("12.300"), JSON as
// the number it is (12.3).
struct DecimalNumber {
  std::string digits;
  bool operator==(const DecimalNumber&) const = default;
};

struct DocumentValue {
  // The number, text or list of numbers a script reads; null for nothing.
  std::variant<int64_t, std::string, std::vector<int64_t>, DecimalNumber, std::monostate> json;
  std::string text;  // the same for a person, with its unit
};

struct DocumentField {
  std::string name;  // snake_case; the text form shows it with blanks
  DocumentValue value;
  bool json_only = false;  // a script's form of what another field already shows a person
};

using DocumentRow = std::vector<DocumentField>;

// Hands each row it makes to `row`, in order.
using RowMaker = std::function<void(const std::function<void(const DocumentRow&)>& row)>;

struct DocumentSection {
  std::string name;
  std::vector<DocumentField> fields;
  std::string rows_name;  // the JSON key of the rows ("" when the section has none)
  std::vector<DocumentRow> rows;
  std::vector<std::string> notes;  // lines of text for a person; JSON carries them too
  // When set, the text form shows each row as this line instead of a table.
  std::string (*row_line)(const DocumentRow& row) = nullptr;
  // Rows made as they are printed, after `rows`: a section of a row per cell holds what
  // makes its rows (a few bytes a feature) instead of the rows, which take a hundred times
  // the bytes of the cells they tell. The text form may make them twice (a table's widths).
  RowMaker made_rows = nullptr;
};

// Each row of `section`: its `rows`, then its made rows.
void for_each_row(const DocumentSection& section, const std::function<void(const DocumentRow&)>& row);

struct ReadingDocument {
  std::vector<DocumentSection> sections;
};

DocumentValue number_value(int64_t number, std::string text);
DocumentValue number_value(int64_t number);
DocumentValue text_value(std::string text);
// Nothing: null for a script, `text` ("none") for a person.
DocumentValue no_value(std::string text = "none");
// A position in metres, shown "77 400 m".
DocumentValue metres_value(int64_t metres);
// Numbers for a script, shown to a person as `text`.
DocumentValue numbers_value(std::vector<int64_t> numbers, std::string text);
// A kilometre reading in metres, shown as the driver's papers print it ("12.300").
DocumentValue kilometre_value(int64_t reading_m);

// The text of the field named `name` in a row ("" when it has none).
const std::string& field_text(const DocumentRow& row, std::string_view name);

// "77 400": thousands set apart by a blank, as the issue of a form would print them.
std::string grouped_number(int64_t number);

// Fields as "  name: text" lines, rows as an aligned table under their field names.
void print_document_text(const ReadingDocument& document, std::ostream& out);
void print_document_json(const ReadingDocument& document, std::ostream& out);

}  // namespace scenario
