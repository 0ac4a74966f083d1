#include "decompile/compiled_scenario.hpp"

#include "format/compiled_files_decoder.hpp"
#include "format/scenario_files.hpp"

namespace scenario {

CompiledScenario::CompiledScenario(const CompiledFiles& compiled) : files(compiled) {
  const ScenarioFileNames names = scenario_file_names(compiled.name, compiled.number);
  cells = decoded(names.track_cells, [&] { return decode_track_cells(compiled.track_cells); });
  records = decoded(names.records, [&] { return decode_records(compiled.records); });
  if (cells.size() < 2) throw FileError(names.track_cells, "fewer than two track cells, no header cell");
  cells[1].value1 = 0;
  cells[1].value2 = 0;
}

int CompiledScenario::indicator_board_count() const {
  int lowest = kFirstBoardTextSlot + 1;
  for (const TrackCell& cell : cells)
    if (cell.kind == kIndicatorBoard && cell.value1 >= kFirstStationSlot && cell.value1 < lowest) lowest = cell.value1;
  for (int slot = kFirstBoardTextSlot; slot >= kFirstStationSlot; --slot) {
    SimRecord bare = records[static_cast<size_t>(slot)];
    if (bare.text.empty()) continue;
    bare.text.clear();
    // A station always has a type or an area end; a board's record holds its text alone.
    if (bare == SimRecord{} && slot < lowest) lowest = slot;
  }
  return kFirstBoardTextSlot + 1 - lowest;
}

}  // namespace scenario
