#pragma once

#include <string>

#include "compiler/memorizza_dati.hpp"
#include "compiler/source_file.hpp"
#include "model/scenario_model.hpp"

namespace scenario::testing {

// Runs the source compiler on two texts held in memory, on a freshly reset model named
// like the built-in scenario, as the compile entry does before its post-pass.
inline ScenarioModel compile_texts(std::string line_text, std::string service_text, int32_t plan_mode = 1) {
  ScenarioModel model;
  model.scenario_name = "Milano_Tortona";
  model.scenario_number = "5";
  model.plan_mode = plan_mode;
  model.reset_records();
  SourceFile line = SourceFile::in_memory("Milano_Tortona_linea.txt", std::move(line_text));
  SourceFile service = SourceFile::in_memory("Milano_Tortona_5-.txt", std::move(service_text));
  memorizza_dati(model, line, service);
  return model;
}

}  // namespace scenario::testing
