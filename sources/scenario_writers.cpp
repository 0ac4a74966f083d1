#include "sources/scenario_writers.hpp"

#include <string>
#include <string_view>

#include "format/scenario_files.hpp"
#include "sources/line_table.hpp"
#include "sources/scenario_texts.hpp"

namespace scenario {
namespace {

// Every writer is the same sequence: its constant text into a line table, the table into
// the file whose name the scenario gives it.
void write_text(const ScenarioModel& model, const std::filesystem::path& folder,
                std::string ScenarioFileNames::*file, std::string_view text) {
  const ScenarioFileNames names = scenario_file_names(model.scenario_name, model.scenario_number);
  scrivi_righe(folder, names.*file, line_table_from_text(text));
}

}  // namespace

void dati_linea(const ScenarioModel& model, const std::filesystem::path& folder) {
  write_text(model, folder, &ScenarioFileNames::line_source, kLineSourceText);
}

void dati_treno(const ScenarioModel& model, const std::filesystem::path& folder) {
  write_text(model, folder, &ScenarioFileNames::service_source, kServiceSourceText);
}

void dati_note(const ScenarioModel& model, const std::filesystem::path& folder) {
  write_text(model, folder, &ScenarioFileNames::notes, kNotesText);
}

void dati_rallentamenti(const ScenarioModel& model, const std::filesystem::path& folder) {
  write_text(model, folder, &ScenarioFileNames::slowdown_order, kSlowdownOrderText);
}

void dati_scheda(const ScenarioModel& model, const std::filesystem::path& folder) {
  write_text(model, folder, &ScenarioFileNames::train_card, kTrainCardText);
}

void write_scenario_texts(const ScenarioModel& model, const std::filesystem::path& folder) {
  dati_linea(model, folder);
  dati_treno(model, folder);
  dati_note(model, folder);
  dati_rallentamenti(model, folder);
  dati_scheda(model, folder);
}

}  // namespace scenario
