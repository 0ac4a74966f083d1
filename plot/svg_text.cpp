#include "plot/svg_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "model/windows_1252.hpp"
#include "plot/text_metrics.hpp"

namespace scenario {

std::string xml_text(std::string_view windows_1252) {
  std::string out;
  out.reserve(windows_1252.size());
  for (char ch : windows_1252) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '&': out += "&amp;"; continue;
      case '<': out += "&lt;"; continue;
      case '>': out += "&gt;"; continue;
      case '"': out += "&quot;"; continue;
      case '\'': out += "&apos;"; continue;
      default: break;
    }
    // Control characters cannot stand in XML; bytes the code page leaves undefined become
    // U+FFFD as well.
    if (c < 0x20 && c != '\t') {
      out += "\xEF\xBF\xBD";
      continue;
    }
    if (c < 0x80) out += ch;  // the same byte in UTF-8
    else out += utf8_from_1252(std::string_view(&ch, 1));
  }
  return out;
}

std::string elided_xml(std::string_view windows_1252, double max_width, double font_size, bool bold) {
  static constexpr const char* kEllipsis = "\xE2\x80\xA6";
  std::string whole = xml_text(windows_1252);
  if (text_advance(whole, font_size, bold) <= max_width) return whole;
  size_t low = 0, high = windows_1252.size();  // the longest prefix that fits lies in [low, high)
  while (high - low > 1) {
    const size_t mid = (low + high) / 2;
    if (text_advance(xml_text(windows_1252.substr(0, mid)) + kEllipsis, font_size, bold) <= max_width) low = mid;
    else high = mid;
  }
  return xml_text(windows_1252.substr(0, low)) + kEllipsis;
}

std::string svg_number(double value) {
  if (!std::isfinite(value)) return "0";
  const double rounded = std::round(value * 10.0) / 10.0;
  const bool whole = rounded == std::floor(rounded);
  const double shown = whole && rounded == 0.0 ? 0.0 : rounded;  // no "-0"
  const int decimals = whole ? 0 : 1;
#if defined(__cpp_lib_to_chars)
  // The same digits as printf's, without its format parsing and its locale.
  char buffer[400];  // the longest double in fixed notation
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, shown, std::chars_format::fixed, decimals).ptr);
#else
  // A standard library without the floating-point to_chars.
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, shown);
  return buffer;
#endif
}

}  // namespace scenario
