#pragma once

#include <cstdint>

#include "model/rounding.hpp"
#include "model/track_cell.hpp"

namespace scenario {

// The approach codes that a signal and a station exit write into the cells in front of
// them, k = 1 (nearest) to 4. Only a cell's `approach` changes; the last row to write a
// cell's code is the one that stays.
inline constexpr int kApproachCodeCount = 4;

// A signal in cell c writes aspect × 10 + k, as a byte, into cell c − 2k.
inline int64_t signal_approach_cell(int64_t signal_cell, int k) { return signal_cell - 2 * k; }
inline uint8_t signal_approach_code(int64_t aspect_code, int k) { return low8(aspect_code * 10 + k); }

// A station exit in cell e writes 80 + k into cell e − k, where that cell's index is above 1.
inline constexpr int kStationApproachBase = 80;
inline int64_t station_approach_cell(int64_t exit_cell, int k) { return exit_cell - k; }
inline bool takes_station_approach_code(int64_t cell) { return cell > 1; }
inline uint8_t station_approach_code(int k) { return static_cast<uint8_t>(kStationApproachBase + k); }

}  // namespace scenario
