#pragma once

#include <string>

#include "compiler/compile_context.hpp"
#include "compiler/memorizza_dati.hpp"
#include "compiler/source_file.hpp"
#include "model/scenario_model.hpp"

namespace scenario::testing {

// A model as the source compiler left it, with the last fault it recorded.
struct CompiledTexts {
  ScenarioModel model;
  int32_t error_code = 0;
  int32_t error_position_m = 0;
  bool row_place_left = false;  // a row was still named as being compiled once it ended
};

// Runs the source compiler on two texts held in memory, on a freshly reset model named
// like the built-in scenario, as the compile entry does before its post-pass.
inline CompiledTexts compile_texts(std::string line_text, std::string service_text, int32_t plan_mode = 1) {
  CompiledTexts compiled;
  ScenarioModel& model = compiled.model;
  model.scenario_name = "Milano_Tortona";
  model.scenario_number = "5";
  model.plan_mode = plan_mode;
  model.reset_records();
  SourceFile line = SourceFile::in_memory("Milano_Tortona_linea.txt", std::move(line_text));
  SourceFile service = SourceFile::in_memory("Milano_Tortona_5-.txt", std::move(service_text));
  CompileContext context(model);
  memorizza_dati(context, line, service);
  compiled.error_code = context.error_code;
  compiled.error_position_m = context.error_position_m;
  compiled.row_place_left = context.row_place.has_value();
  return compiled;
}

}  // namespace scenario::testing
