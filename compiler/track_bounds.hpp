#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "compiler/compile_context.hpp"
#include "compiler/row_outcome.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {

// The bounds test of every row that places a feature: a feature at `position_m` needs
// `margin_m` metres of track cells beyond it (P + margin > 50 × last_cell fails). Gives
// fault 15 at the position when it fails. Computed in 64 bits, so no position overflows it.
std::optional<RowFault> beyond_the_cells(CompileContext& context, int64_t position_m, int64_t margin_m);

// The lowest position whose cell is at least `cell`: by the cell of the position (fills,
// code reductions) or by the cell after it (signals, boards, slowdowns).
int64_t lowest_position_in_cell(int64_t cell);
int64_t lowest_position_after_cell(int64_t cell);

// The run-time failure (fault 25) of a feature at `position_m` whose cells would begin before
// the first track cell: it says what of the feature lies there ("its start cell lies", said
// before "before the first track cell") and the lowest position such a feature may take
// (`a_feature`: "a signal").
RuntimeFailure before_route_start(std::string_view feature, int64_t position_m, std::string_view needed,
                                  std::string_view a_feature, int64_t lowest_m);

}  // namespace scenario
