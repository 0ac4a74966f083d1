#include "decompile/compiled_scenario.hpp"

#include "format/compiled_files_decoder.hpp"
#include "format/scenario_files.hpp"

namespace scenario {

CompiledScenario::CompiledScenario(const CompiledFiles& compiled) : files(compiled) {
  const ScenarioFileNames names = scenario_file_names(compiled.name, compiled.number);
  cells = decoded(names.track_cells, [&] { return decode_track_cells(compiled.track_cells); });
  records = decoded(names.records, [&] { return decode_records(compiled.records); });
  if (cells.size() < 2) throw DamagedCompiledFile(names.track_cells, "fewer than two track cells, no header cell");
  cells[1].value1 = 0;
  cells[1].value2 = 0;
}

}  // namespace scenario
