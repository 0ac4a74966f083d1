#pragma once

#include <string>
#include <string_view>

#include "compiler/compile_entry.hpp"
#include "format/compiled_files.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/line_plan_points.hpp"
#include "reading/compiled_scenario.hpp"
#include "sources/scenario_texts.hpp"

namespace scenario::testing {

// A scenario compiled in memory from two source texts and read back through the bytes of
// its compiled files, as the reading commands see it on disk.
inline LoadedScenario compiled_scenario_of(std::string line_text, std::string service_text, int32_t plan_mode = 1,
                                             std::string name = "Milano_Tortona", std::string number = "5") {
  ScenarioModel model;
  model.scenario_name = name;
  model.scenario_number = number;
  SourceFile line = SourceFile::in_memory(name + "_linea.txt", std::move(line_text));
  SourceFile service = SourceFile::in_memory(name + "_" + number + "-.txt", std::move(service_text));
  compile_scenario(model, plan_mode, line, service);
  LoadedScenario scenario;
  scenario.name = name;
  scenario.number = number;
  std::string bytes;
  encode_track_cells(model, bytes);
  scenario.cells = decode_track_cells(bytes);
  bytes.clear();
  encode_records(model, bytes);
  scenario.records = decode_records(bytes);
  if (plan_mode != 0) {
    std::string plan;
    encode_line_plan(model.line_plan, plan);
    scenario.plan_bytes = PlanBytes::holding(std::move(plan));
    scenario.has_plan = true;
    scenario.plan_points = computed_plan_points(scenario.plan_bytes);
  }
  return scenario;
}

inline const LoadedScenario& builtin_scenario() {
  static const LoadedScenario scenario =
      compiled_scenario_of(std::string(kLineSourceText), std::string(kServiceSourceText));
  return scenario;
}

// A text with its first `from` replaced by `to` (the test fails loudly when it is absent).
inline std::string replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string out(text);
  const size_t at = out.find(from);
  if (at == std::string::npos) throw std::logic_error("no '" + std::string(from) + "' to replace");
  out.replace(at, from.size(), to);
  return out;
}

}  // namespace scenario::testing
