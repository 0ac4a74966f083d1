#include "decompile/compiled_scenario.hpp"

#include "format/compiled_files_decoder.hpp"

namespace scenario {

CompiledScenario::CompiledScenario(const CompiledFiles& compiled)
    : files(compiled), cells(decode_track_cells(compiled.track_cells)), records(decode_records(compiled.records)) {
  if (cells.size() < 2) throw DecodeError(compiled.track_cells.size(), "fewer than two track cells: no header cell");
  cells[1].value1 = 0;
  cells[1].value2 = 0;
}

}  // namespace scenario
