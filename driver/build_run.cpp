#include "driver/build_run.hpp"

#include "format/scenario_files.hpp"
#include "sources/scenario_writers.hpp"

namespace scenario {

CompileResult run_builtin_build(ScenarioModel& model, const std::filesystem::path& folder, std::ostream& progress) {
  model.scenario_name = kBuiltinScenarioName;
  model.scenario_number = kBuiltinScenarioNumber;
  // The console stands for the progress window: the word is out before the work starts.
  progress << "Attendere" << std::endl;

  write_scenario_texts(model, folder);

  const ScenarioFileNames names = scenario_file_names(model.scenario_name, model.scenario_number);
  SourceFile line_source = SourceFile::on_disk(folder / names.line_source, SourceFile::Ownership::kRunIntermediate);
  SourceFile service_source =
      SourceFile::on_disk(folder / names.service_source, SourceFile::Ownership::kRunIntermediate);
  return memorizza_percorso(model, 1, line_source, service_source, folder);
}

}  // namespace scenario
