#pragma once

#include <cstdint>

#include "compiler/source_file.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// The second half of the compile: reads the service source into the model. Raises
// RuntimeFailure for the run-time failures that the caller turns into fault 25.
void read_service_source(ScenarioModel& model, SourceFile& service_source, int32_t board_slot_counter);

}  // namespace scenario
