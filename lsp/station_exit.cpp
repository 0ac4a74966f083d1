#include "lsp/station_exit.hpp"

#include "schema/field_reader.hpp"
#include "schema/row_schema.hpp"
#include "model/format_rules.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {

std::optional<std::string> station_exit_text(const SourceOutline& outline, const OutlineField& position) {
  static const RowText* const kStationRow = find_row("stazione");
  constexpr std::size_t kSixth = 5;  // fields after the position
  const auto index = static_cast<std::size_t>(&position - outline.fields.data());
  if (position.row != kStationRow || index + kSixth >= outline.fields.size()) return std::nullopt;
  const OutlineField& sixth_field = outline.fields[index + kSixth];
  if (sixth_field.role != FieldRole::kRowField || sixth_field.keyword != position.keyword) return std::nullopt;
  // The row's fields up to the sixth read again as the compiler reads them, now for their values.
  FieldReader reader(outline.text.substr(position.start, sixth_field.end - position.start));
  int64_t position_m = 0;
  int64_t length_m = 0;
  uint8_t type = 0;
  uint8_t sixth = 0;
  try {
    position_m = reader.read_long();
    type = reader.read_byte();
    length_m = reader.read_long();
    reader.read_byte();
    reader.read_byte();
    sixth = reader.read_byte();
  } catch (const RuntimeFailure&) {
    return std::nullopt;
  }
  if (!marks_exit(type))
    return "A named point (type " + std::to_string(kFirstPointType) + " and up) marks no exit cell.";
  const StationArea area = station_area(position_m, type, length_m, sixth != 0);
  const int64_t exit = station_exit_cell(area.end_m);
  return "The station's exit is cell " + std::to_string(exit) + " (" + std::to_string(exit * kCellLength_m) +
         " m), the cell before its area ends at " + std::to_string(area.end_m) + " m.";
}

}  // namespace scenario
