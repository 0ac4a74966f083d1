#pragma once

#include <cstdint>

#include "model/rounding.hpp"
#include "model/track_cell.hpp"

namespace scenario {

// Types from here on are named points: stored and counted, no cell touched.
inline constexpr uint8_t kFirstPointType = 25;

// Short platforms: the area ends 150 m after the position and no approach codes are written.
inline bool is_short_platform_type(uint8_t type) { return type == 5 || type == 6; }
// Termini: the area runs the length on either side of the position.
inline bool is_terminus_type(uint8_t type) { return type == 7 || type == 8; }

inline bool marks_exit(uint8_t type) { return type < kFirstPointType; }
inline bool writes_station_approach_codes(uint8_t type) { return marks_exit(type) && !is_short_platform_type(type); }

// The cell of the station exit: the one before the cell where the area ends.
inline int64_t station_exit_cell(int64_t end_m) { return divide_round_half_even(end_m, kCellLength_m) - 1; }

}  // namespace scenario
