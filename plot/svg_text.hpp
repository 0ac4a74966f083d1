#pragma once

#include <string>
#include <string_view>

namespace scenario {

// A Windows-1252 text as UTF-8, escaped for XML character data and attribute values.
std::string xml_text(std::string_view windows_1252);

// A number with at most one decimal, as SVG coordinates want it ("12.5", "-3", "0").
std::string svg_number(double value);

}  // namespace scenario
