#pragma once

#include <vector>

#include "compiler/compile_context.hpp"
#include "postpass/signalling_walk.hpp"

namespace scenario {

// Records the faults of the signalling walk, in order. Each is placed at the row that put
// the slowdown there, at the position the row was written at, with a note for every cell
// the failed point needed and what (and which row) holds it. A slowdown that no source row
// placed keeps the position of the cell the fault names.
void record_walk_faults(CompileContext& context, const std::vector<WalkFault>& faults);

}  // namespace scenario
