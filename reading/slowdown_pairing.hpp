#pragma once

#include <cstdint>
#include <vector>

#include "model/track_cell.hpp"

namespace scenario {

// The start and end cells of one slowdown row. A row writes its end, then its start, each
// with the same speed, second value and f_tt, into cells no other slowdown holds: an end
// that falls into the start's own cell leaves the start alone (end_cell == start_cell), and
// a negative length puts the end before the start.
struct SlowdownCells {
  int64_t start_cell = 0;
  int64_t end_cell = 0;
};

struct SlowdownPairing {
  std::vector<SlowdownCells> slowdowns;  // by start cell
  std::vector<int64_t> lone_ends;        // end cells no start of the same values claims
};

// Pairs every start with an end of the same three values, in one pass over the cells: the
// nearest open start before an end takes it (slowdowns inside others close first); the ends
// left over then go, nearest first, to the starts after them left without an end. Any
// pairing of equal values gives the same cells; this one gives each slowdown the shortest
// stretch.
SlowdownPairing pair_slowdowns(const std::vector<TrackCell>& cells);

}  // namespace scenario
