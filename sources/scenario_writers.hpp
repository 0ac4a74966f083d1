#pragma once

#include <filesystem>

#include "model/scenario_model.hpp"

namespace scenario {

// The five writers of the built-in scenario's texts. Each replaces its file in `folder`,
// named after the model's scenario_name and scenario_number.
void dati_linea(const ScenarioModel& model, const std::filesystem::path& folder);
void dati_treno(const ScenarioModel& model, const std::filesystem::path& folder);
void dati_note(const ScenarioModel& model, const std::filesystem::path& folder);
void dati_rallentamenti(const ScenarioModel& model, const std::filesystem::path& folder);
void dati_scheda(const ScenarioModel& model, const std::filesystem::path& folder);

// All five, in the order of the build run.
void write_scenario_texts(const ScenarioModel& model, const std::filesystem::path& folder);

}  // namespace scenario
