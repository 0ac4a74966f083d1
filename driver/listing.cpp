#include "driver/listing.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "driver/json_text.hpp"
#include "format/byte_reader.hpp"

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

std::string json_value(const ListingValue& value) {
  if (const auto* integer = std::get_if<int64_t>(&value)) return std::to_string(*integer);
  if (const auto* real = std::get_if<double>(&value)) return std::isfinite(*real) ? format_double(*real) : "null";
  return json_string(std::get<std::string>(value));
}

void print_members(const std::vector<ListingField>& fields, std::ostream& out) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out << ", ";
    out << json_string(fields[i].name) << ": " << json_value(fields[i].value);
  }
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
  if (listing.rows.empty()) return;
  out << '\n';

  // Column widths from the header and every cell; numbers to the right, texts to the left.
  const std::vector<ListingField>& first = listing.rows.front().columns;
  std::vector<size_t> widths;
  std::vector<bool> numeric;
  for (const ListingField& field : first) {
    widths.push_back(field.name.size());
    numeric.push_back(!std::holds_alternative<std::string>(field.value));
  }
  std::vector<std::vector<std::string>> texts;
  for (const ListingRow& row : listing.rows) {
    std::vector<std::string>& line = texts.emplace_back();
    for (size_t c = 0; c < row.columns.size() && c < widths.size(); ++c) {
      line.push_back(table_text(row.columns[c].value));
      widths[c] = std::max(widths[c], line.back().size());
    }
    if (!row.details.empty()) line.push_back(details_text(row.details));
  }
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
  std::vector<std::string> header;
  for (const ListingField& field : first) header.push_back(field.name);
  print_line(header);
  for (const auto& line : texts) print_line(line);
}

void print_json(const Listing& listing, std::ostream& out) {
  out << "{\n  \"file\": " << json_string(listing.file) << ",\n  \"kind\": " << json_string(listing.file_kind);
  for (const ListingField& field : listing.summary) out << ",\n  " << json_string(field.name) << ": " << json_value(field.value);
  out << ",\n  " << json_string(listing.rows_name) << ": [";
  for (size_t r = 0; r < listing.rows.size(); ++r) {
    const ListingRow& row = listing.rows[r];
    out << (r > 0 ? ",\n    " : "\n    ");
    out << '{';
    print_members(row.columns, out);
    if (!listing.details_name.empty()) {
      out << ", " << json_string(listing.details_name) << ": {";
      print_members(row.details, out);
      out << '}';
    }
    out << '}';
  }
  out << (listing.rows.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace scenario
