#include "sources/scenario_writers.hpp"

namespace scenario {

// Placeholders until the writers land.
void dati_linea(const ScenarioModel&, const std::filesystem::path&) {}
void dati_treno(const ScenarioModel&, const std::filesystem::path&) {}
void dati_note(const ScenarioModel&, const std::filesystem::path&) {}
void dati_rallentamenti(const ScenarioModel&, const std::filesystem::path&) {}
void dati_scheda(const ScenarioModel&, const std::filesystem::path&) {}

void write_scenario_texts(const ScenarioModel& model, const std::filesystem::path& folder) {
  dati_linea(model, folder);
  dati_treno(model, folder);
  dati_note(model, folder);
  dati_rallentamenti(model, folder);
  dati_scheda(model, folder);
}

}  // namespace scenario
