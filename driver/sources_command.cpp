#include "driver/build_run.hpp"
#include "driver/commands.hpp"
#include "driver/diagnostics.hpp"
#include "driver/output_folder.hpp"
#include "format/file_io.hpp"
#include "format/scenario_files.hpp"
#include "sources/scenario_writers.hpp"

namespace scenario {

int run_sources_command(const SourcesCommand& command, Console& console) {
  Diagnostics diagnostics(console.err, console.colour);
  ScenarioModel model;
  model.scenario_name = kBuiltinScenarioName;
  model.scenario_number = kBuiltinScenarioNumber;
  ensure_folder(command.folder);
  // An author's edited sources are never written over by accident: without --force the set
  // refuses, under the folder's lock, any of its files that is already there.
  write_scenario_texts(model, command.folder, set_options(command.wait, command.force, diagnostics));
  return kExitClean;
}

}  // namespace scenario
