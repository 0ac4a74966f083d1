#pragma once

#include "compiler/source_file.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// Compiles the line source and then the service source into the model. Faults are
// recorded in the context, never thrown; a run-time failure anywhere inside is caught here
// once and becomes fault 25, with every source that may be discarded discarded.
void memorizza_dati(CompileContext& context, SourceFile& line_source, SourceFile& service_source);

}  // namespace scenario
