#pragma once

#include <cstdint>

#include "model/track_cell.hpp"

namespace scenario {

// Divides and rounds to the nearest whole number, an exact half going to the even
// neighbour (62.5 gives 62, 63.5 gives 64). Every division of the compiler goes through
// here: metres to cells, km/h to speed codes, board packing. `denominator` must be > 0.
int64_t divide_round_half_even(int64_t numerator, int64_t denominator);

// The cell of a metre position: position / 50, rounded half to even (fills, stations,
// code reductions).
inline int64_t cell_of_position(int64_t position_m) { return divide_round_half_even(position_m, kCellLength_m); }

// The cell after a position: position / 50 + 1, rounded half to even as one value
// (signals, boards, slowdowns). 25 m gives cell 2, as 1.5 rounds to 2.
inline int64_t cell_after_position(int64_t position_m) {
  return divide_round_half_even(position_m + kCellLength_m, kCellLength_m);
}

// Low bits of a value, kept where the format says a field keeps only them.
inline uint8_t low8(int64_t value) { return static_cast<uint8_t>(static_cast<uint64_t>(value) & 0xFFu); }
inline int16_t low16(int64_t value) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(value) & 0xFFFFu));
}

}  // namespace scenario
