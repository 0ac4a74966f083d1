#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace scenario {

// What the reading commands print, independent of the form: named sections of fields and
// rows. The text and the JSON document are two renderings of one document, so they cannot
// tell different stories. Texts are UTF-8.
struct DocumentValue {
  std::variant<int64_t, std::string> json;  // the number or text a script reads
  std::string text;                          // the same for a person, with its unit
};

struct DocumentField {
  std::string name;  // snake_case; the text form shows it with blanks
  DocumentValue value;
};

using DocumentRow = std::vector<DocumentField>;

struct DocumentSection {
  std::string name;
  std::vector<DocumentField> fields;
  std::string rows_name;  // the JSON key of the rows ("" when the section has none)
  std::vector<DocumentRow> rows;
  std::vector<std::string> notes;  // lines of text for a person; JSON carries them too
};

struct ReadingDocument {
  std::vector<DocumentSection> sections;
};

DocumentValue number_value(int64_t number, std::string text);
DocumentValue number_value(int64_t number);
DocumentValue text_value(std::string text);
// A position in metres, shown "77 400 m".
DocumentValue metres_value(int64_t metres);

// "77 400": thousands set apart by a blank, as the issue of a form would print them.
std::string grouped_number(int64_t number);

// Fields as "  name: text" lines, rows as an aligned table under their field names.
void print_document_text(const ReadingDocument& document, std::ostream& out);
void print_document_json(const ReadingDocument& document, std::ostream& out);

}  // namespace scenario
