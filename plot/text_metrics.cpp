#include "plot/text_metrics.hpp"

#include <algorithm>
#include <cstdint>

namespace scenario {
namespace {

// Advance widths of the printable ASCII characters (space to '~'), in thousandths of an em.
constexpr uint16_t kRegular[95] = {
    317, 400, 459, 837, 636, 950, 779, 274, 390, 390, 500, 837, 317, 360, 317, 336,
    636, 636, 636, 636, 636, 636, 636, 636, 636, 636, 336, 336, 837, 837, 837, 530,
    1000, 684, 686, 698, 770, 631, 575, 774, 751, 294, 294, 655, 557, 862, 748, 787,
    603, 787, 694, 634, 610, 731, 684, 988, 685, 610, 685, 390, 336, 390, 837, 500,
    500, 612, 634, 549, 634, 615, 352, 634, 633, 277, 277, 579, 277, 974, 633, 611,
    634, 634, 411, 520, 392, 633, 591, 817, 591, 591, 524, 636, 336, 636, 837,
};
constexpr uint16_t kBold[95] = {
    348, 456, 520, 837, 695, 1001, 872, 306, 457, 457, 522, 837, 379, 415, 379, 365,
    695, 695, 695, 695, 695, 695, 695, 695, 695, 695, 399, 399, 837, 837, 837, 580,
    1000, 773, 762, 733, 830, 683, 683, 820, 836, 372, 372, 774, 637, 995, 836, 850,
    732, 850, 770, 720, 682, 812, 773, 1103, 770, 724, 725, 457, 365, 457, 837, 500,
    500, 674, 715, 592, 715, 678, 435, 715, 711, 342, 342, 665, 342, 1041, 711, 687,
    715, 715, 493, 595, 478, 711, 651, 923, 645, 651, 582, 711, 365, 711, 837,
};
constexpr double kWideCharacter = 1000;
// Hinting at the small sizes of the picture draws a text up to 2 % wider than its advances
// add up to (measured in a browser on the picture's labels).
constexpr double kHintingAllowance = 1.03;

double character_width(char c, bool bold) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20 || byte > 0x7E) return kWideCharacter;
  return (bold ? kBold : kRegular)[byte - 0x20];
}

}  // namespace

bool Box::clipped_by(double x1, double y1, double x2, double y2) const {
  // Liang-Barsky clipping of the segment against the box.
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - x, x + w - x1, y1 - y, y + h - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  return true;
}

double text_advance(std::string_view xml, double font_size, bool bold) {
  double thousandths = 0;
  for (size_t i = 0; i < xml.size(); ++i) {
    const auto byte = static_cast<unsigned char>(xml[i]);
    if (xml[i] == '&') {
      const size_t semicolon = xml.find(';', i);
      const std::string_view entity = xml.substr(i, semicolon == std::string_view::npos ? 1 : semicolon - i + 1);
      const char stands_for = entity == "&amp;" ? '&' : entity == "&lt;" ? '<' : entity == "&gt;" ? '>'
                              : entity == "&quot;" ? '"' : entity == "&apos;" ? '\'' : '\x7F';
      thousandths += character_width(stands_for, bold);
      i += entity.size() - 1;
    } else if (byte >= 0x80) {
      // One character for a lead byte; its continuation bytes (10xxxxxx) add nothing.
      if ((byte & 0xC0) != 0x80) thousandths += kWideCharacter;
    } else {
      thousandths += character_width(xml[i], bold);
    }
  }
  return thousandths / 1000 * font_size * kHintingAllowance;
}

Box text_box(double x, double y, std::string_view xml, double font_size, bool bold, TextAnchor anchor) {
  return text_box(x, y, text_advance(xml, font_size, bold), font_size, anchor);
}

Box text_box(double x, double y, double width, double font_size, TextAnchor anchor) {
  const double left = anchor == TextAnchor::kStart ? x : anchor == TextAnchor::kMiddle ? x - width / 2 : x - width;
  return {left, y - 0.8 * font_size, width, font_size};
}

}  // namespace scenario
