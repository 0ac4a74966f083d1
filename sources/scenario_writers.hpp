#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "format/file_set.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// The five writers of the built-in scenario's texts. Each replaces its file in `folder`,
// named after the model's scenario_name and scenario_number.
void dati_linea(const ScenarioModel& model, const std::filesystem::path& folder);
void dati_treno(const ScenarioModel& model, const std::filesystem::path& folder);
void dati_note(const ScenarioModel& model, const std::filesystem::path& folder);
void dati_rallentamenti(const ScenarioModel& model, const std::filesystem::path& folder);
void dati_scheda(const ScenarioModel& model, const std::filesystem::path& folder);

// The bytes of a text and the name of its file.
struct ScenarioText {
  std::string file_name;
  std::string bytes;
};

// All five, in the order of the build run: the line source, the service source, the notes,
// the slowdown order, the train card.
std::vector<ScenarioText> scenario_texts(const ScenarioModel& model);

// All five written into `folder` as one set, replaced together.
void write_scenario_texts(const ScenarioModel& model, const std::filesystem::path& folder,
                          const SetOptions& options = {});

}  // namespace scenario
