#pragma once

#include <cstdint>

#include "model/track_cell.hpp"

namespace scenario {

// A slowdown starting beyond this position has a warning board, and its approach boards
// when its row asks for them.
inline constexpr int32_t kWarningBoardFrom_m = 1500;
// The warning board stands this far before the start: a whole number of cells.
inline constexpr int32_t kWarningDistance_m = 1200;
inline constexpr int64_t kWarningBoardCellsBefore = kWarningDistance_m / kCellLength_m;
// The approach boards stand in the cells before the warning board, numbered 1 (nearest) up.
inline constexpr int kApproachBoardCount = 4;

}  // namespace scenario
