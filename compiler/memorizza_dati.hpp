#pragma once

#include "compiler/source_file.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// Compiles the line source and then the service source into the model. Faults are
// recorded in the model, never thrown; a run-time failure anywhere inside is caught here
// once and becomes fault 25, with every source that may be discarded discarded.
void memorizza_dati(ScenarioModel& model, SourceFile& line_source, SourceFile& service_source);

}  // namespace scenario
