#include "compiler/compile_entry.hpp"

#include <functional>
#include <string>

#include "compiler/memorizza_dati.hpp"
#include "compiler/walk_faults.hpp"
#include "format/compiled_files.hpp"
#include "format/scenario_files.hpp"
#include "model/windows_1252.hpp"
#include "postpass/competition_codes.hpp"
#include "postpass/signalling_walk.hpp"

namespace scenario {

CompileResult compile_scenario(CompileContext& context, int32_t plan_mode, SourceFile& line_source,
                               SourceFile& service_source) {
  ScenarioModel& model = context.model;
  model.plan_mode = plan_mode;
  context.error_code = 0;
  model.reset_records();
  memorizza_dati(context, line_source, service_source);
  // Without a cell 1 there is neither a track to walk nor a header to stamp.
  if (!model.cells_dimensioned() || model.last_cell < 1) return {CompileStatus::kNoTrackCells, 0, context.error_code};
  record_walk_faults(context, run_signalling_walk(model));
  if (const auto shown = stamp_header(model))
    return {CompileStatus::kHeaderFault, fault_number(*shown), context.error_code};
  return {CompileStatus::kCompiled, 0, context.error_code};
}

CompileResult compile_scenario(ScenarioModel& model, int32_t plan_mode, SourceFile& line_source,
                               SourceFile& service_source, FaultSink* sink) {
  CompileContext context{model, sink};
  return compile_scenario(context, plan_mode, line_source, service_source);
}

namespace {

// The model holds its identity as Windows-1252 text; the files are named in UTF-8.
ScenarioFileNames file_names_of(const ScenarioModel& model) {
  return scenario_file_names(utf8_from_1252(model.scenario_name), utf8_from_1252(model.scenario_number));
}

// Each compiled file under its name, in the order they are written.
void for_each_compiled_file(const ScenarioModel& model,
                            const std::function<void(const std::string&, const std::function<void(ByteSink&)>&)>& file) {
  const ScenarioFileNames names = file_names_of(model);
  if (model.plan_mode != 0) file(names.line_plan, [&](ByteSink& out) { encode_line_plan(model.line_plan, out); });
  file(names.records, [&](ByteSink& out) { encode_records(model, out); });
  file(names.track_cells, [&](ByteSink& out) { encode_track_cells(model, out); });
}

}  // namespace

void stage_compiled_files(const ScenarioModel& model, FileSet& files) {
  for_each_compiled_file(model, [&](const std::string& name, const auto& encode) { files.add_with(name, encode); });
}

void write_compiled_files(const ScenarioModel& model, const std::filesystem::path& folder, const SetOptions& options) {
  FileSet files(folder, file_names_of(model).compiled(), options);
  stage_compiled_files(model, files);
  files.commit();
}

std::vector<CompiledFileBytes> compiled_file_bytes(const ScenarioModel& model) {
  std::vector<CompiledFileBytes> files;
  for_each_compiled_file(model, [&](const std::string& name, const auto& encode) {
    CompiledFileBytes& file = files.emplace_back(CompiledFileBytes{name, {}});
    ByteSink out([&file](uint64_t offset, std::string_view bytes) {
      if (file.bytes.size() < offset + bytes.size()) file.bytes.resize(offset + bytes.size());
      file.bytes.replace(offset, bytes.size(), bytes);
    });
    encode(out);
    out.flush();
  });
  return files;
}

void encode_compiled_files_for_nothing(const ScenarioModel& model) {
  for_each_compiled_file(model, [](const std::string&, const auto& encode) {
    ByteSink nowhere = ByteSink::discarding();
    encode(nowhere);
    nowhere.flush();
  });
}

void check_compiled_files(const ScenarioModel& model) {
  // The files as for_each_compiled_file names them: the plan only with plan_mode.
  if (model.plan_mode != 0) check_line_plan_encodable(model.line_plan);
  check_records_encodable(model);
}

CompileResult memorizza_percorso(ScenarioModel& model, int32_t j, SourceFile& line_source,
                                 SourceFile& service_source, FileSet& files, FaultSink* sink) {
  const CompileResult result = compile_scenario(model, j, line_source, service_source, sink);
  if (result.status == CompileStatus::kCompiled) stage_compiled_files(model, files);
  return result;
}

}  // namespace scenario
