#pragma once

#include <algorithm>
#include <cmath>
#include <string_view>

namespace scenario {

// A rectangle of the picture, in SVG user units (y grows downward).
struct Box {
  double x = 0, y = 0, w = 0, h = 0;

  bool overlaps(const Box& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
  bool within(const Box& outer) const {
    return x >= outer.x && y >= outer.y && x + w <= outer.x + outer.w && y + h <= outer.y + outer.h;
  }
  // Whether the segment from (x1, y1) to (x2, y2) enters the box. A segment wholly to one
  // side of it, by more than rounding could bridge, is told at once; any other is clipped.
  bool crossed_by(double x1, double y1, double x2, double y2) const {
    const double clear_x = 1e-9 * (1 + std::max({std::abs(x1), std::abs(x2), std::abs(x) + std::abs(w)}));
    const double clear_y = 1e-9 * (1 + std::max({std::abs(y1), std::abs(y2), std::abs(y) + std::abs(h)}));
    if (std::max(x1, x2) < x - clear_x || std::min(x1, x2) > x + w + clear_x || std::max(y1, y2) < y - clear_y ||
        std::min(y1, y2) > y + h + clear_y)
      return false;
    return clipped_by(x1, y1, x2, y2);
  }
  bool clipped_by(double x1, double y1, double x2, double y2) const;
};

enum class TextAnchor { kStart, kMiddle, kEnd };

// How wide a text is drawn at `font_size`, from the advance widths of DejaVu Sans, the widest
// of the usual sans-serif faces, so that a narrower face stays inside the estimate. `xml` is
// the element's content as written: UTF-8 with XML entities, each entity one character;
// a character outside ASCII counts as a full em.
double text_advance(std::string_view xml, double font_size, bool bold = false);

// The box a <text> element covers: from its x as the anchor says, from the capitals' top
// (0.8 em above the baseline y) to below the descenders (0.2 em under it).
Box text_box(double x, double y, std::string_view xml, double font_size, bool bold, TextAnchor anchor);
// The same for a text already measured: `width` its text_advance.
Box text_box(double x, double y, double width, double font_size, TextAnchor anchor);

}  // namespace scenario
