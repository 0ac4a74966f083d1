#include "lsp/hover.hpp"

#include <charconv>
#include <string>

#include "lsp/lsp_positions.hpp"
#include "lsp/station_exit.hpp"
#include "model/rounding.hpp"
#include "model/track_cell.hpp"

namespace scenario {
namespace {

std::string field_heading(const RowField& field, std::string_view keyword) {
  std::string text = "**" + std::string(field.name) + "** of `" + std::string(keyword) + "` (" +
                     std::string(field_type_letter(field.type)) + ")";
  if (const std::string unit = unit_and_range(field); !unit.empty()) text += ": " + unit;
  return text;
}

std::string keyword_text(const RowText& row, SectionKind section) {
  std::string text = "**" + std::string(row.keyword) + "**: a row of " + std::string(section_title(section)) + ".\n\n" +
                     std::string(row.meaning) + "\n\n```\n" + row_pattern(row) + "\n```\n\nRecognised when the field " +
                     row.test.described() + ".\n\n| Field | Type | Unit and range |\n|---|---|---|\n";
  for (const RowField& field : row.fields)
    text += "| " + std::string(field.name) + " | " + std::string(field_type_letter(field.type)) + " | " +
            unit_and_range(field) + " |\n";
  return text;
}

std::string header_text(const SourceOutline& outline, const OutlineField& header) {
  std::string text = "**" + std::string(header.text) + "**: a section header of the " +
                     (outline.role == SourceRole::kLine ? "line" : "service") + " source.\n\n";
  const auto rows = rows_of_section(header.section);
  if (rows.empty()) return text + "It begins no section of this source: it is read as a field and skipped.";
  text += "From here the rows of " + std::string(section_title(header.section)) + " may follow:";
  for (const RowText* row : rows) text += " `" + std::string(row->keyword) + "`";
  return text + ".";
}

std::optional<int64_t> number_of(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string position_text(int64_t position_m, const std::optional<KilometreReadings>& readings) {
  const int64_t cell = cell_of_position(position_m);
  std::string text = "\n\n" + std::to_string(position_m) + " m falls in cell " + std::to_string(cell) + " (" +
                     std::to_string(cell * kCellLength_m) + " m";
  if (cell * kCellLength_m != position_m) text += ", off its 50 m cell";
  text += ")";
  if (readings) text += "; the kilometre reading there is " + kilometre_text(readings->reading_m(position_m)) + " km";
  return text + ".";
}

}  // namespace

bool is_position_field(const RowField& field) {
  return field.unit == "metres" &&
         (field.name == "position" || field.name == "start" || field.name == "end");
}

nlohmann::json hover_at(const SourceOutline& outline, int line_number, int character,
                        const std::optional<KilometreReadings>& readings) {
  const std::optional<std::size_t> byte = outline.byte_at(line_number, character);
  const int index = byte ? outline.field_at(*byte) : -1;
  if (index < 0) return nullptr;
  const OutlineField& field = outline.fields[static_cast<std::size_t>(index)];
  if (field.text.empty()) return nullptr;
  std::string text;
  if (field.role == FieldRole::kHeader) {
    text = header_text(outline, field);
  } else if (field.role == FieldRole::kKeyword && field.row != nullptr) {
    text = keyword_text(*field.row, field.section);
  } else if (field.role == FieldRole::kRowField) {
    const RowField& described = *field.described;
    text = field_heading(described, outline.fields[field.keyword].text);
    if (!described.meaning.empty()) text += "\n\n" + std::string(described.meaning);
    if (is_position_field(described))
      if (const auto position_m = number_of(field.text)) text += position_text(*position_m, readings);
    if (&described == field.row->fields.data())
      if (const auto exit = station_exit_text(outline, field)) text += "\n\n" + *exit;
  } else {
    return nullptr;
  }
  const TextPosition start = outline.position_of(field.start);
  const TextPosition end = outline.position_of(field.end);
  return {{"contents", {{"kind", "markdown"}, {"value", text}}},
          {"range", lsp_range(start.line, start.character, end.line, end.character)}};
}

}  // namespace scenario
