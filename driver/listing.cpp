#include "driver/listing.hpp"

#include <algorithm>
#include <cstdio>

#include "format/json_text.hpp"

namespace scenario {
namespace {

std::string table_text(const ListingValue& value) {
  if (const auto* integer = std::get_if<int64_t>(&value)) return std::to_string(*integer);
  if (const auto* real = std::get_if<double>(&value)) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", *real);
    return buffer;
  }
  return std::get<std::string>(value);
}

JsonValue json_value(const ListingValue& value) {
  if (const auto* integer = std::get_if<int64_t>(&value)) return *integer;
  // The library writes a non-finite number as null.
  if (const auto* real = std::get_if<double>(&value)) return *real;
  return json_text(std::get<std::string>(value));
}

JsonValue json_members(const std::vector<ListingField>& fields) {
  JsonValue members = JsonValue::object();
  for (const ListingField& field : fields) members[field.name] = json_value(field.value);
  return members;
}

std::string details_text(const std::vector<ListingField>& details) {
  std::string text;
  for (const ListingField& field : details) {
    if (!text.empty()) text += "  ";
    text += field.name + " " + table_text(field.value);
  }
  return text;
}

}  // namespace

void print_table(const Listing& listing, std::ostream& out) {
  out << listing.file << ": " << listing.file_kind << '\n';
  for (const ListingField& field : listing.summary) out << "  " << field.name << ": " << table_text(field.value) << '\n';

  // Column widths from the header and every cell; numbers to the right, texts to the left.
  std::vector<size_t> widths;
  std::vector<bool> numeric;
  std::vector<std::string> header;
  listing.rows([&](const ListingRow& row) {
    if (header.empty()) {
      for (const ListingField& field : row.columns) {
        header.push_back(field.name);
        widths.push_back(field.name.size());
        numeric.push_back(!std::holds_alternative<std::string>(field.value));
      }
    }
    for (size_t c = 0; c < row.columns.size() && c < widths.size(); ++c)
      widths[c] = std::max(widths[c], table_text(row.columns[c].value).size());
  });
  if (header.empty()) return;
  out << '\n';

  auto print_line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (size_t c = 0; c < cells.size(); ++c) {
      if (c > 0) text += "  ";
      if (c >= widths.size()) {
        text += cells[c];
        continue;
      }
      const std::string pad(widths[c] - std::min(widths[c], cells[c].size()), ' ');
      text += numeric[c] ? pad + cells[c] : cells[c] + pad;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out << text << '\n';
  };
  print_line(header);
  std::vector<std::string> line;
  listing.rows([&](const ListingRow& row) {
    line.clear();
    for (size_t c = 0; c < row.columns.size() && c < widths.size(); ++c) line.push_back(table_text(row.columns[c].value));
    if (!row.details.empty()) line.push_back(details_text(row.details));
    print_line(line);
  });
}

void print_json(const Listing& listing, std::ostream& out) {
  JsonValue head = {{"file", json_text(listing.file)}, {"kind", json_text(listing.file_kind)}};
  head.update(json_members(listing.summary));
  // The rows are written as they come, each on its line, never held all at once: the head
  // is closed after them.
  std::string text = json_document(head);
  text.resize(text.rfind('}'));
  while (text.back() == '\n') text.pop_back();
  out << text << ",\n  " << json_line(json_text(listing.rows_name)) << ": [";
  bool first = true;
  listing.rows([&](const ListingRow& row) {
    JsonValue members = json_members(row.columns);
    if (!listing.details_name.empty()) members[listing.details_name] = json_members(row.details);
    out << (first ? "\n    " : ",\n    ") << json_line(members);
    first = false;
  });
  out << (first ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace scenario
