#include "compiler/compile_entry.hpp"

#include <string>

#include "compiler/memorizza_dati.hpp"
#include "format/compiled_files.hpp"
#include "format/file_io.hpp"
#include "format/scenario_files.hpp"
#include "model/windows_1252.hpp"
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
  if (const auto shown = stamp_header(model)) return {CompileStatus::kHeaderFault, fault_number(*shown)};
  return {CompileStatus::kCompiled, 0};
}

void write_compiled_files(const ScenarioModel& model, const std::filesystem::path& folder) {
  // The model holds its identity as Windows-1252 text; the files are named in UTF-8.
  const ScenarioFileNames names =
      scenario_file_names(utf8_from_1252(model.scenario_name), utf8_from_1252(model.scenario_number));
  if (model.plan_mode != 0)
    replace_file_with(folder / names.line_plan, [&](ByteSink& out) { encode_line_plan(model.line_plan, out); });
  replace_file_with(folder / names.records, [&](ByteSink& out) { encode_records(model, out); });
  replace_file_with(folder / names.track_cells, [&](ByteSink& out) { encode_track_cells(model, out); });
}

CompileResult memorizza_percorso(ScenarioModel& model, int32_t j, SourceFile& line_source,
                                 SourceFile& service_source, const std::filesystem::path& folder) {
  const CompileResult result = compile_scenario(model, j, line_source, service_source);
  if (result.status == CompileStatus::kCompiled) write_compiled_files(model, folder);
  return result;
}

}  // namespace scenario
