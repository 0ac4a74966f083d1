#include "driver/compile_entry.hpp"

#include <string>

#include "compiler/memorizza_dati.hpp"
#include "model/compiled_files.hpp"
#include "model/file_io.hpp"
#include "model/scenario_files.hpp"
#include "postpass/competition_codes.hpp"
#include "postpass/signalling_walk.hpp"

namespace scenario {

CompileResult compile_scenario(ScenarioModel& model, int32_t plan_mode, SourceFile& line_source,
                               SourceFile& service_source) {
  model.plan_mode = plan_mode;
  model.error_code = 0;
  model.reset_records();
  memorizza_dati(model, line_source, service_source);
  // Without a cell 1 there is neither a track to walk nor a header to stamp.
  if (!model.cells_dimensioned() || model.last_cell < 1) return {CompileStatus::kNoTrackCells, 0};
  run_signalling_walk(model);
  if (const int shown = stamp_header(model); shown != 0) return {CompileStatus::kHeaderFault, shown};
  return {CompileStatus::kCompiled, 0};
}

void write_compiled_files(const ScenarioModel& model, const std::filesystem::path& folder) {
  const ScenarioFileNames names = scenario_file_names(model.scenario_name, model.scenario_number);
  std::string bytes;
  if (model.plan_mode != 0) {
    encode_line_plan(model.line_plan, bytes);
    replace_file(folder / names.line_plan, bytes);
    bytes.clear();
  }
  encode_records(model, bytes);
  replace_file(folder / names.records, bytes);
  bytes.clear();
  encode_track_cells(model, bytes);
  replace_file(folder / names.track_cells, bytes);
}

CompileResult memorizza_percorso(ScenarioModel& model, int32_t j, SourceFile& line_source,
                                 SourceFile& service_source, const std::filesystem::path& folder) {
  const CompileResult result = compile_scenario(model, j, line_source, service_source);
  if (result.status == CompileStatus::kCompiled) write_compiled_files(model, folder);
  return result;
}

}  // namespace scenario
