#include "driver/build_run.hpp"

#include "format/file_set.hpp"
#include "format/scenario_files.hpp"
#include "sources/scenario_writers.hpp"

namespace scenario {
namespace {

// The build replaces only its own older files: one that differs from what it writes was
// edited, or written by something else, and is not the build's to destroy.
void refuse_changed_files(FileSet& files) {
  const std::vector<std::string> changed = files.changed_older_files();
  if (changed.empty()) return;
  std::string others;
  for (size_t i = 1; i < changed.size(); ++i) others += (i == 1 ? " (and " : ", ") + changed[i];
  if (!others.empty()) others += ")";
  throw FileError(files.folder() / changed.front(),
                  "differs from what the built-in build writes" + others +
                      "; nothing was changed. Move it to another folder (or build in another folder) and run "
                      "again");
}

}  // namespace

CompileResult run_builtin_build(ScenarioModel& model, const std::filesystem::path& folder, std::ostream& progress,
                                const SetOptions& options, FaultSink* sink) {
  model.scenario_name = kBuiltinScenarioName;
  model.scenario_number = kBuiltinScenarioNumber;
  // The console stands for the progress window: the word is out before the work starts.
  progress << "Attendere" << std::endl;

  // Every file of the run is staged and the folder's files are replaced together at the
  // end. The two sources are compiled from memory: they are never written, and older ones
  // of their names are the run's own only when they hold what the run would write.
  const ScenarioFileNames names = scenario_file_names(model.scenario_name, model.scenario_number);
  std::vector<std::string> set = names.texts();
  for (const std::string& compiled : names.compiled()) set.push_back(compiled);
  FileSet files(folder, set, options);
  const std::vector<ScenarioText> texts = scenario_texts(model);
  const ScenarioText& line_text = texts.at(0);
  const ScenarioText& service_text = texts.at(1);
  files.add_unwritten(line_text.file_name, line_text.bytes);
  files.add_unwritten(service_text.file_name, service_text.bytes);
  SourceFile line_source = SourceFile::in_memory(line_text.file_name, line_text.bytes);
  SourceFile service_source = SourceFile::in_memory(service_text.file_name, service_text.bytes);
  for (size_t i = 2; i < texts.size(); ++i) files.add(texts[i].file_name, texts[i].bytes);

  const CompileResult result = memorizza_percorso(model, 1, line_source, service_source, files, sink);
  // Also finds the files the run would write as they are: those are left alone.
  refuse_changed_files(files);
  // Its own older sources go, as after every run.
  files.remove_at_commit(line_text.file_name);
  files.remove_at_commit(service_text.file_name);
  files.commit();
  return result;
}

}  // namespace scenario
