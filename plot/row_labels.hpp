#pragma once

#include <string_view>

#include "plot/svg_canvas.hpp"

namespace scenario {

// Rows of labels over or under a band of the profile.
struct LabelRows {
  double first_baseline = 0;
  int rows = 1;
  double row_height = 12;
  double leader_from_y = 0;  // where a leader line starts at the mark
  TextStyle style;
};

// Places labels in rows beside the marks they name: right of the mark, else left of it, in
// the first row with room; or, when `max_shift` allows, shifted along a row as little as it
// takes, with a leader line from the mark. A label keeps clear of every text and leader on
// the page with a little room either side; a leader crosses no text and no other leader.
class RowLabeller {
 public:
  RowLabeller(SvgCanvas& svg, LabelRows rows);

  // Draws `xml` for the mark at x; false when it finds no place.
  bool place(double x, std::string_view xml, double max_shift = 0);

 private:
  SvgCanvas& svg_;
  LabelRows rows_;
};

}  // namespace scenario
