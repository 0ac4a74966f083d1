#include "plot/row_labels.hpp"

#include <cmath>

namespace scenario {
namespace {

constexpr double kGap = 2;      // between a label and its mark
constexpr double kPadding = 3;  // kept free either side of a label, so that neighbours read apart
constexpr double kShiftStep = 6;
// A leader runs at most this many times as far along the rows as it climbs, so that it reads
// as pointing at its mark rather than along the band.
constexpr double kLeaderSlope = 3;

}  // namespace

RowLabeller::RowLabeller(SvgCanvas& svg, LabelRows rows) : svg_(svg), rows_(rows) {}

bool RowLabeller::place(double x, std::string_view xml, double max_shift) {
  const TextStyle& style = rows_.style;
  const double width = text_advance(xml, style.size, style.bold);
  for (double shift = 0; shift <= max_shift; shift += kShiftStep) {
    for (const double side : {1.0, -1.0}) {
      for (int row = 0; row < rows_.rows; ++row) {
        const double baseline = rows_.first_baseline + row * rows_.row_height;
        const double start = side > 0 ? x + kGap + shift : x - kGap - shift - width;
        // Measured once above: a label tried in many places is one text.
        const Box box = text_box(start, baseline, width, style.size, TextAnchor::kStart);
        if (!svg_.fits({box.x - kPadding, box.y, box.w + 2 * kPadding, box.h})) continue;
        if (shift > 0) {
          // From the mark to the label's lower corner on the mark's side.
          const double end_x = side > 0 ? box.x : box.x + box.w, end_y = box.y + box.h;
          if (shift > kLeaderSlope * std::abs(rows_.leader_from_y - end_y)) continue;
          if (!svg_.leader_fits(x, rows_.leader_from_y, end_x, end_y)) continue;
          svg_.leader(x, rows_.leader_from_y, end_x, end_y);
        }
        svg_.text(start, baseline, xml, style);
        return true;
      }
    }
  }
  return false;
}

}  // namespace scenario
