#include "lsp/station_exit.hpp"

#include "schema/field_reader.hpp"
#include "schema/row_schema.hpp"
#include "model/format_rules.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {

std::optional<std::string> station_exit_text(const OutlineLine& line) {
  static const RowText* const kStationRow = find_row("stazione");
  if (line.row == nullptr || line.row != kStationRow) return std::nullopt;
  // The row's fields read as the compiler reads them, in its order.
  FieldReader reader(line.text);
  int64_t position_m = 0;
  int64_t length_m = 0;
  uint8_t type = 0;
  uint8_t sixth = 0;
  try {
    reader.read_text();
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
