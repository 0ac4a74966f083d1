#include "driver/row_reference.hpp"

#include <stdexcept>
#include <vector>

#include "compiler/row_relations.hpp"
#include "schema/row_schema.hpp"
#include "model/cell_kinds.hpp"
#include "model/warning_table.hpp"

namespace scenario {
namespace {

constexpr std::string_view kTableBegins = "<!-- row table: ";
constexpr std::string_view kTableEnds = "<!-- row table ends -->";
// The names that stand for the table of relations between rows and for the kinds of cell.
constexpr std::string_view kRelationsTable = "relations";
constexpr std::string_view kCellKindsTable = "cell kinds";

const RowText& row_named(std::string_view keyword) {
  const RowText* row = find_row(keyword);
  if (row == nullptr) throw std::invalid_argument("no row has the keyword '" + std::string(keyword) + "'");
  return *row;
}

std::string field_with_type(const RowField& field) {
  std::string text = std::string(field.name) + " (" + std::string(field_type_letter(field.type));
  if (const std::string unit = unit_and_range(field); !unit.empty()) text += "; " + unit;
  return text + ")";
}

std::string keyword_cell(const RowText& row) {
  return "`" + std::string(row.keyword) + "`: " + row.test.described();
}

std::string rows_table(std::span<const std::string_view> keywords) {
  std::string table = "| Row | Fields, in order (type; unit and range) | Meaning |\n|---|---|---|\n";
  for (const std::string_view keyword : keywords) {
    const RowText& row = row_named(keyword);
    std::string fields;
    for (const RowField& field : row.fields) fields += (fields.empty() ? "" : ", ") + field_with_type(field);
    table += "| " + keyword_cell(row) + " | " + fields + " | " + std::string(row.meaning) + " |\n";
  }
  return table;
}

std::string fields_table(const RowText& row) {
  std::string table = "Row " + keyword_cell(row) + ". " + std::string(row.meaning) + "\n\n";
  table += "| # | Field | Type | Unit and range | Meaning |\n|---|---|---|---|---|\n";
  int number = 1;
  for (const RowField& field : row.fields) {
    table += "| " + std::to_string(number++) + " | " + std::string(field.name) + " | " +
             std::string(field_type_letter(field.type)) + " | " + unit_and_range(field) + " | " +
             std::string(field.meaning) + " |\n";
  }
  return table;
}

std::vector<std::string_view> keywords_of(std::string_view list) {
  std::vector<std::string_view> keywords;
  while (!list.empty()) {
    const size_t comma = list.find(',');
    std::string_view keyword = list.substr(0, comma);
    while (!keyword.empty() && keyword.front() == ' ') keyword.remove_prefix(1);
    while (!keyword.empty() && keyword.back() == ' ') keyword.remove_suffix(1);
    if (!keyword.empty()) keywords.push_back(keyword);
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
  }
  return keywords;
}

// The relations between rows, each with its warning.
std::string relations_table() {
  std::string table = "| Warning | Rows | Relation kept | When it is broken, the compiled files hold |\n|---|---|---|---|\n";
  for (const RowRelation& relation : row_relations()) {
    std::string rows;
    for (const std::string_view keyword : relation.keywords) rows += (rows.empty() ? "`" : ", `") + std::string(keyword) + "`";
    table += "| " + warning_id(warning_number(relation.warning)) + " | " + rows + " | " + std::string(relation.rule) +
             " | " + std::string(relation.held) + " |\n";
  }
  return table;
}

// The kinds of track cell, each with its code and where its feature is read back.
std::string cell_kinds_table() {
  std::string table = "| Code | What the cell holds | Its feature's position | `diff` tells it as |\n|---|---|---|---|\n";
  for (const CellKindEntry& kind : cell_kinds()) {
    const bool before = kind.anchor == CellAnchor::kCellBefore;
    table += "| " + std::to_string(kind.code) + " | " + std::string(kind.name) + " | " +
             (before ? "the start of the cell before" : "the start of its cell") + " | `" + std::string(kind.diff_words) +
             "` |\n";
  }
  return table;
}

}  // namespace

std::string row_table_markdown(std::span<const std::string_view> keywords) {
  if (keywords.size() == 1 && keywords.front() == kRelationsTable) return relations_table();
  if (keywords.size() == 1 && keywords.front() == kCellKindsTable) return cell_kinds_table();
  return keywords.size() == 1 ? fields_table(row_named(keywords.front())) : rows_table(keywords);
}

std::string with_current_row_tables(std::string_view reference) {
  std::string result;
  size_t done = 0;
  while (true) {
    const size_t begin = reference.find(kTableBegins, done);
    if (begin == std::string_view::npos) break;
    const size_t line_end = reference.find('\n', begin);
    const size_t end = reference.find(kTableEnds, begin);
    if (line_end == std::string_view::npos || end == std::string_view::npos || end < line_end)
      throw std::invalid_argument("a row table of the reference has no end line");
    const std::string_view marker = reference.substr(begin + kTableBegins.size(), line_end - begin - kTableBegins.size());
    const size_t close = marker.rfind("-->");
    const std::vector<std::string_view> keywords = keywords_of(marker.substr(0, close));
    result.append(reference.substr(done, line_end + 1 - done));
    result += row_table_markdown(keywords);
    done = end;
  }
  result.append(reference.substr(done));
  return result;
}

}  // namespace scenario
