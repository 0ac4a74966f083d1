#include "sources/scenario_writers.hpp"

#include <string>
#include <string_view>

#include "format/file_set.hpp"
#include "format/scenario_files.hpp"
#include "sources/line_table.hpp"
#include "sources/scenario_texts.hpp"

namespace scenario {
namespace {

struct Writer {
  std::string ScenarioFileNames::*file;
  const std::string_view* text;
};

// The five texts in the order of the build run.
constexpr Writer kLine{&ScenarioFileNames::line_source, &kLineSourceText};
constexpr Writer kService{&ScenarioFileNames::service_source, &kServiceSourceText};
constexpr Writer kNotes{&ScenarioFileNames::notes, &kNotesText};
constexpr Writer kSlowdownOrder{&ScenarioFileNames::slowdown_order, &kSlowdownOrderText};
constexpr Writer kTrainCard{&ScenarioFileNames::train_card, &kTrainCardText};
constexpr Writer kWriters[] = {kLine, kService, kNotes, kSlowdownOrder, kTrainCard};

// Every writer is the same sequence: its constant text into a line table, the table's
// bytes under the name the scenario gives the file.
ScenarioText text_of(const ScenarioModel& model, const Writer& writer) {
  const ScenarioFileNames names = scenario_file_names(model.scenario_name, model.scenario_number);
  return {names.*writer.file, line_table_bytes(line_table_from_text(*writer.text))};
}

void write_text(const ScenarioModel& model, const std::filesystem::path& folder, const Writer& writer) {
  const ScenarioText text = text_of(model, writer);
  replace_file(folder / text.file_name, text.bytes);
}

}  // namespace

void dati_linea(const ScenarioModel& model, const std::filesystem::path& folder) { write_text(model, folder, kLine); }

void dati_treno(const ScenarioModel& model, const std::filesystem::path& folder) { write_text(model, folder, kService); }

void dati_note(const ScenarioModel& model, const std::filesystem::path& folder) { write_text(model, folder, kNotes); }

void dati_rallentamenti(const ScenarioModel& model, const std::filesystem::path& folder) {
  write_text(model, folder, kSlowdownOrder);
}

void dati_scheda(const ScenarioModel& model, const std::filesystem::path& folder) {
  write_text(model, folder, kTrainCard);
}

std::vector<ScenarioText> scenario_texts(const ScenarioModel& model) {
  std::vector<ScenarioText> texts;
  for (const Writer& writer : kWriters) texts.push_back(text_of(model, writer));
  return texts;
}

void write_scenario_texts(const ScenarioModel& model, const std::filesystem::path& folder, const SetOptions& options) {
  FileSet files(folder, scenario_file_names(model.scenario_name, model.scenario_number).texts(), options);
  for (const ScenarioText& text : scenario_texts(model)) files.add(text.file_name, text.bytes);
  files.commit();
}

}  // namespace scenario
