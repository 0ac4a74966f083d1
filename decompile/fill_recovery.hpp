#pragma once

#include <cstdint>
#include <vector>

#include "model/track_cell.hpp"

namespace scenario {

// One row of a per-cell fill (gradient, line speed, adhesion): from the cell of its position
// on, the fill holds `value`, the byte the cells receive.
struct FillRow {
  int64_t cell = 0;  // the row is written at cell × 50 m
  uint8_t value = 0;
};

// The fewest rows that fill `field` of every cell as the cells hold it: a row at cell 0, one
// at each change, and, when the fill reaches into the last three cells (which the end of
// reading leaves alone), one row per such cell at the last position a row may take, each
// pushing the fill's cursor one cell on.
std::vector<FillRow> recover_fill(const std::vector<TrackCell>& cells, uint8_t TrackCell::*field);

}  // namespace scenario
