#pragma once

#include <cstdint>
#include <string>

#include "compiler/compile_context.hpp"
#include "compiler/service_source_reader.hpp"
#include "compiler/source_file.hpp"
#include "model/runtime_failure.hpp"
#include "model/scenario_model.hpp"

namespace scenario::testing {

// A model as the line source leaves it for a route: records reset, cells 0..last_cell.
// The default is the built-in route (82000 m, so cells 0..1780).
inline ScenarioModel route_model(int32_t last_cell = 1780) {
  ScenarioModel model;
  model.reset_records();
  model.dimension_cells(last_cell);
  model.route_extent_m = last_cell * 50;
  return model;
}

// What reading a service text did besides filling the model.
struct ServiceRun {
  bool discarded = false;  // the source was discarded
  bool failed = false;     // a run-time failure came out (the compile turns it into fault 25)
};

// Reads a service source whose text is `text` as it stands.
inline ServiceRun read_service_text(CompileContext& context, std::string text, int32_t board_slot_counter = 80) {
  SourceFile source = SourceFile::in_memory("test_5-.txt", std::move(text));
  ServiceRun run;
  try {
    read_service_source(context, source, board_slot_counter);
  } catch (const RuntimeFailure&) {
    run.failed = true;
  }
  run.discarded = !source.exists();
  context.row_place.reset();  // it points into the source, which ends here
  context.cell_origins.clear();
  return run;
}

// Reads `rows` between a "[generale]" line and a "[fine]" line, as the writer frames them.
inline ServiceRun read_service_rows(CompileContext& context, const std::string& rows, int32_t board_slot_counter = 80) {
  return read_service_text(context, "[generale]\r\n" + rows + "[fine]\r\n", board_slot_counter);
}

}  // namespace scenario::testing
