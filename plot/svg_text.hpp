#pragma once

#include <string>
#include <string_view>

namespace scenario {

// A Windows-1252 text as UTF-8, escaped for XML character data and attribute values.
std::string xml_text(std::string_view windows_1252);

// A Windows-1252 text as XML text no wider than `max_width` at `font_size`: cut short with
// an ellipsis when it is wider.
std::string elided_xml(std::string_view windows_1252, double max_width, double font_size, bool bold = false);

// A number with at most one decimal, as SVG coordinates want it ("12.5", "-3", "0").
std::string svg_number(double value);

}  // namespace scenario
