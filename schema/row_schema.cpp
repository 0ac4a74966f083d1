#include "schema/row_schema.hpp"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "schema/field_reader.hpp"
#include "schema/row_tables.hpp"
#include "model/windows_1252.hpp"

namespace scenario {

using namespace rows;

namespace {

// A number as the reference writes it, with a true minus sign.
std::string reference_number(int64_t value) {
  return value < 0 ? "\u2212" + std::to_string(-value) : std::to_string(value);
}

std::string values_text(const RowField& field) {
  if (field.range) {
    const ValueRange& range = *field.range;
    if (range.high == INT32_MAX) return range.low == 0 ? "0 or more" : "at least " + reference_number(range.low);
    if (range.high == range.low + 1) return reference_number(range.low) + " or " + reference_number(range.high);
    return reference_number(range.low) + " to " + reference_number(range.high);
  }
  switch (field.type) {
    case kByte: return "0 to 255";
    case kInteger: return reference_number(INT16_MIN) + " to " + reference_number(INT16_MAX);
    case kLong:
    case kText: break;
  }
  return "";
}

}  // namespace

std::string unit_and_range(const RowField& field) {
  std::string text(field.unit);
  for (const std::string& part : {values_text(field), std::string(field.rule)}) {
    if (part.empty()) continue;
    if (!text.empty()) text += part.starts_with('(') ? " " : ", ";
    text += part;
  }
  return text;
}

std::string_view unit_after_value(const RowField& field) {
  if (field.unit == "metres") return " m";
  if (field.unit == "km/h") return " km/h";
  if (field.unit == "‰") return " ‰";
  return "";
}

std::string_view field_type_letter(FieldType type) {
  switch (type) {
    case kLong: return "L";
    case kInteger: return "I";
    case kByte: return "B";
    case kText: return "T";
  }
  return "?";
}

bool KeywordTest::matches(std::string_view field, std::string_view lower_field) const {
  const std::string_view text = any_case ? lower_field : field;
  for (const std::string_view word : words)
    if (!word.empty() && !contains(text, word)) return false;
  return true;
}

std::string KeywordTest::described() const {
  std::string text = "contains '" + std::string(words[0]) + "'";
  if (!words[1].empty()) text += " and '" + std::string(words[1]) + "'";
  return text + (any_case ? " (any case)" : " (small letters)");
}

std::string matched_by_containment(const RowText& row, std::string_view keyword, std::string_view lower_keyword,
                                   int column) {
  // A field that is the keyword, or one word that begins with it (`curvad6`, `segnale3`),
  // reads as the author meant it.
  const size_t first = lower_keyword.find_first_not_of(" \t");
  const size_t last = lower_keyword.find_last_not_of(" \t");
  const std::string_view written =
      first == std::string_view::npos ? std::string_view{} : lower_keyword.substr(first, last - first + 1);
  if (written == row.keyword ||
      (written.starts_with(row.test.words[0]) && written.find_first_of(" \t\"[]") == std::string_view::npos))
    return "";
  const size_t at = (row.test.any_case ? lower_keyword : keyword).find(row.test.words[0]);
  return "; '" + utf8_from_1252(keyword) + "' was read as a " + std::string(row.keyword) + " row: '" +
         std::string(row.test.words[0]) + "' at column " + std::to_string(column + static_cast<int>(at));
}

const SectionSchema& line_general_section() { return kGeneralSection; }
const SectionSchema& line_main_section() { return kMainSection; }
const SectionSchema& service_section() { return kServiceSection; }

std::vector<std::string_view> section_spellings(const SectionSchema& section) {
  std::vector<std::string_view> words;
  for (const RowText& row : section.rows) words.insert(words.end(), row.spellings.begin(), row.spellings.end());
  return words;
}

std::string_view row_matched_but_for_capitals(const SectionSchema& section, std::string_view lower_keyword) {
  for (const RowText& row : section.rows)
    if (!row.test.any_case && KeywordTest{row.test.words, true}.matches(lower_keyword, lower_keyword)) return row.keyword;
  return {};
}

std::vector<const RowText*> every_row() {
  std::vector<const RowText*> rows;
  for (const RowText& row : kGeneralRows) rows.push_back(&row);
  for (const RowText& row : kMainRows) rows.push_back(&row);
  for (const RowText& row : kServiceRows) rows.push_back(&row);
  return rows;
}

std::string row_pattern(const RowText& row) {
  std::string text = std::string(row.keyword);
  for (const RowField& field : row.fields) text += ", " + std::string(field.name);
  return text;
}

const RowText* row_read_as(std::string_view keyword) {
  static const std::vector<const RowText*> rows = every_row();
  const std::string lower = lower_case_1252(keyword);
  const auto found =
      std::find_if(rows.begin(), rows.end(), [&](const RowText* row) { return row->test.matches(keyword, lower); });
  return found == rows.end() ? nullptr : *found;
}

std::string source_row(std::string_view keyword, std::span<const std::string> fields, char separator) {
  const RowText* read_as = row_read_as(keyword);
  if (read_as == nullptr || read_as->fields.size() != fields.size())
    throw std::logic_error("a source row '" + std::string(keyword) + "' with " + std::to_string(fields.size()) +
                           " fields that the readers would not read back");
  std::string text = std::string(keyword) + ",";
  for (size_t i = 0; i < fields.size(); ++i) (i > 0 ? text += separator : text) += fields[i];
  return text;
}

std::string source_row(std::string_view keyword, std::initializer_list<std::string> fields, char separator) {
  return source_row(keyword, std::span<const std::string>(fields.begin(), fields.size()), separator);
}

const RowText* find_row(std::string_view keyword) {
  for (const RowText* row : every_row())
    if (row->keyword == keyword) return row;
  return nullptr;
}

}  // namespace scenario
