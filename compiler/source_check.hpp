#pragma once

#include <cstdint>

#include "compiler/source_file.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// When a fault stops the compile before the service source is read, the service source is
// still read for what it would tell: into a scratch copy of the model as the line source
// left it (a route of the longest length when it gave none), with every fault and warning
// it finds told with a note that the compile had stopped at fault `stopped_fault`. Nothing
// of it reaches the compiled model, the faults recorded or the exit status.
void check_unread_service_source(const ScenarioModel& model, SourceFile& service_source, int32_t stopped_fault);

}  // namespace scenario
