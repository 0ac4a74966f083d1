#include "reading/reading_document.hpp"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "format/json_text.hpp"
#include "reading/kilometre_readings.hpp"

namespace scenario {
namespace {

std::string shown_name(std::string name) {
  std::replace(name.begin(), name.end(), '_', ' ');
  return name;
}

JsonValue json_of(const DocumentValue& value) {
  if (const auto* number = std::get_if<int64_t>(&value.json)) return *number;
  // The number the decimals show: "12.300" is 12.3 to a script.
  if (const auto* decimal = std::get_if<DecimalNumber>(&value.json)) return std::strtod(decimal->digits.c_str(), nullptr);
  if (const auto* numbers = std::get_if<std::vector<int64_t>>(&value.json)) return *numbers;
  if (std::holds_alternative<std::monostate>(value.json)) return nullptr;
  return json_text(std::get<std::string>(value.json));
}

void add_members(JsonValue& object, const std::vector<DocumentField>& fields) {
  for (const DocumentField& field : fields) object[field.name] = json_of(field.value);
}

// Display width of a UTF-8 text: its characters, not its bytes.
size_t width_of(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// A number, a metre position or a kilometre reading ("12", "77 400 m", "-0.050").
bool looks_numeric(std::string_view text) {
  if (text.ends_with(" m")) text.remove_suffix(2);
  return text.find_first_not_of("0123456789 .-") == std::string_view::npos;
}

// Two passes over the rows: the columns and their widths, then the lines.
void print_rows(const DocumentSection& section, std::ostream& out) {
  std::vector<std::string> names;
  bool any = false;
  for_each_row(section, [&](const DocumentRow& row) {
    any = true;
    for (const DocumentField& field : row)
      if (!field.json_only && std::find(names.begin(), names.end(), field.name) == names.end())
        names.push_back(field.name);
  });
  if (!any) return;
  std::vector<size_t> widths;
  std::vector<bool> numeric(names.size(), true);
  for (size_t c = 0; c < names.size(); ++c) widths.push_back(width_of(shown_name(names[c])));
  auto text_at = [&](const DocumentRow& row, size_t c) -> const DocumentField* {
    for (const DocumentField& field : row)
      if (field.name == names[c]) return &field;
    return nullptr;
  };
  for_each_row(section, [&](const DocumentRow& row) {
    for (size_t c = 0; c < names.size(); ++c)
      if (const DocumentField* field = text_at(row, c)) {
        widths[c] = std::max(widths[c], width_of(field->value.text));
        // Numbers, metres and kilometre readings stand to the right, words to the left.
        if (!looks_numeric(field->value.text)) numeric[c] = false;
      }
  });
  std::string line;
  auto print_line = [&](const auto& cell_text) {
    line = "   ";
    for (size_t c = 0; c < names.size(); ++c) {
      const std::string& text = cell_text(c);
      const size_t pad = widths[c] - std::min(widths[c], width_of(text));
      line += "  ";
      if (numeric[c]) line.append(pad, ' ');
      line += text;
      if (!numeric[c]) line.append(pad, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  };
  std::vector<std::string> header;
  for (const std::string& name : names) header.push_back(shown_name(name));
  print_line([&](size_t c) -> const std::string& { return header[c]; });
  static const std::string kEmpty;
  for_each_row(section, [&](const DocumentRow& row) {
    print_line([&](size_t c) -> const std::string& {
      const DocumentField* field = text_at(row, c);
      return field != nullptr ? field->value.text : kEmpty;
    });
  });
}

// A value as the library writes it `depth` levels into a document indented by two blanks.
std::string nested_json(const JsonValue& value, int depth) {
  std::string text = json_document(value);
  text.pop_back();
  std::string nested;
  nested.reserve(text.size());
  for (const char c : text) {
    nested += c;
    if (c == '\n') nested.append(static_cast<size_t>(2 * depth), ' ');
  }
  return nested;
}

}  // namespace

DocumentValue number_value(int64_t number, std::string text) { return {number, std::move(text)}; }
DocumentValue number_value(int64_t number) { return {number, std::to_string(number)}; }
DocumentValue text_value(std::string text) { return {text, text}; }
DocumentValue no_value(std::string text) { return {std::monostate{}, std::move(text)}; }
DocumentValue metres_value(int64_t metres) { return {metres, grouped_number(metres) + " m"}; }
DocumentValue numbers_value(std::vector<int64_t> numbers, std::string text) {
  return {std::move(numbers), std::move(text)};
}
DocumentValue kilometre_value(int64_t reading_m) {
  const std::string text = kilometre_text(reading_m);
  return {DecimalNumber{text}, text};
}

void for_each_row(const DocumentSection& section, const std::function<void(const DocumentRow&)>& row) {
  for (const DocumentRow& r : section.rows) row(r);
  if (section.made_rows) section.made_rows(row);
}

const std::string& field_text(const DocumentRow& row, std::string_view name) {
  static const std::string kNone;
  for (const DocumentField& field : row)
    if (field.name == name) return field.value.text;
  return kNone;
}

std::string grouped_number(int64_t number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  for (auto i = static_cast<int64_t>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), " ");
  return (number < 0 ? "-" : "") + digits;
}

void print_document_text(const ReadingDocument& document, std::ostream& out) {
  bool first_section = true;
  for (const DocumentSection& section : document.sections) {
    if (!first_section) out << '\n';
    first_section = false;
    out << shown_name(section.name) << '\n';
    for (const DocumentField& field : section.fields) {
      // "route_length_m" reads "route length: 82 000 m": the unit is in the text.
      std::string name = field.name;
      if (name.ends_with("_m") && field.value.text.ends_with(" m")) name.resize(name.size() - 2);
      out << "  " << shown_name(name) << ": " << field.value.text << '\n';
    }
    for (const std::string& note : section.notes) out << "  " << note << '\n';
    if (section.row_line != nullptr)
      for_each_row(section, [&](const DocumentRow& row) { out << "  " << section.row_line(row) << '\n'; });
    else
      print_rows(section, out);
  }
}

void print_document_json(const ReadingDocument& document, std::ostream& out) {
  // Written section by section and row by row, as the library would write the whole: a
  // section's rows may be made as they are printed, and a million of them are never held.
  out << '{';
  bool first_section = true;
  for (const DocumentSection& section : document.sections) {
    JsonValue members = JsonValue::object();
    add_members(members, section.fields);
    if (!section.notes.empty()) {
      JsonValue& notes = members["notes"] = JsonValue::array();
      for (const std::string& note : section.notes) notes.push_back(json_text(note));
    }
    out << (first_section ? "\n  " : ",\n  ") << json_line(json_text(section.name)) << ": ";
    first_section = false;
    if (section.rows_name.empty()) {
      out << nested_json(members, 1);
      continue;
    }
    // The rows are the section's last member: its other members, then the rows one by one.
    if (members.empty()) {
      out << '{';
    } else {
      const std::string head = nested_json(members, 1);
      out << std::string_view(head).substr(0, head.size() - std::string_view("\n  }").size()) << ',';
    }
    out << "\n    " << json_line(json_text(section.rows_name)) << ": ";
    bool first_row = true;
    for_each_row(section, [&](const DocumentRow& row) {
      JsonValue object = JsonValue::object();
      add_members(object, row);
      out << (first_row ? "[\n      " : ",\n      ") << nested_json(object, 3);
      first_row = false;
    });
    out << (first_row ? "[]" : "\n    ]") << "\n  }";
  }
  out << (first_section ? "}\n" : "\n}\n");
}

}  // namespace scenario
