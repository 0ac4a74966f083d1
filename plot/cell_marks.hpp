#pragma once

#include <array>
#include <functional>

#include "model/sim_record.hpp"
#include "model/track_cell.hpp"
#include "plot/row_labels.hpp"
#include "plot/svg_canvas.hpp"

namespace scenario {

// The profile's speed band, where the cells' marks are drawn.
struct CellMarkBand {
  SvgCanvas& svg;
  const std::array<SimRecord, kRecordCount>& records;  // an indicator board's text
  double top, bottom;
  std::function<double(double)> speed_y;  // the height of a speed in km/h
  RowLabeller& board_labels;              // board texts under the band
  double longest_label, label_size;
};

// Draws the mark of a cell's kind at x, if its kind has one.
void draw_cell_mark(const CellMarkBand& band, double x, const TrackCell& cell);

}  // namespace scenario
