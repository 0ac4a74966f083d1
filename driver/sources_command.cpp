#include <system_error>

#include "driver/build_run.hpp"
#include "driver/commands.hpp"
#include "driver/diagnostics.hpp"
#include "format/file_io.hpp"
#include "format/scenario_files.hpp"
#include "sources/scenario_writers.hpp"

namespace scenario {

int run_sources_command(const SourcesCommand& command, Console& console) {
  Diagnostics diagnostics(console.err, console.colour);
  ScenarioModel model;
  model.scenario_name = kBuiltinScenarioName;
  model.scenario_number = kBuiltinScenarioNumber;
  const ScenarioFileNames names = scenario_file_names(model.scenario_name, model.scenario_number);

  // An author's edited sources are never written over by accident.
  if (!command.force) {
    const std::string taken = files_already_in(
        command.folder, {names.line_source, names.service_source, names.notes, names.slowdown_order, names.train_card});
    if (!taken.empty()) {
      diagnostics.error("'" + command.folder.string() + "' already holds " + taken +
                        "; nothing written (--force replaces them)");
      return kExitNothing;
    }
  }
  try {
    ensure_folder(command.folder);
    write_scenario_texts(model, command.folder);
  } catch (const FileError& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  }
  return kExitClean;
}

}  // namespace scenario
