#pragma once

#include <cstdint>

#include "compiler/compile_context.hpp"

namespace scenario {

// The bounds test of every row that places a feature: a feature at `position_m` needs
// `margin_m` metres of track cells beyond it (P + margin > 50 × last_cell fails). Records
// fault 15 at the position when it fails. Computed in 64 bits, so no position overflows it.
bool beyond_the_cells(CompileContext& context, int64_t position_m, int64_t margin_m);

}  // namespace scenario
