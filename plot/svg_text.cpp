#include "plot/svg_text.hpp"

#include <cmath>
#include <cstdio>

namespace scenario {
namespace {

// Code points of Windows-1252 bytes 0x80 to 0x9F; 0 where the code page has no character.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

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
    char32_t cp = c;
    if (c >= 0x80 && c < 0xA0) cp = kHighControls[c - 0x80];
    // Control characters and bytes the code page leaves undefined cannot stand in XML.
    if (cp == 0 || (cp < 0x20 && cp != '\t')) cp = 0xFFFD;
    append_utf8(out, cp);
  }
  return out;
}

std::string svg_number(double value) {
  if (!std::isfinite(value)) return "0";
  const double rounded = std::round(value * 10.0) / 10.0;
  char buffer[32];
  if (rounded == std::floor(rounded))
    std::snprintf(buffer, sizeof buffer, "%.0f", rounded == 0.0 ? 0.0 : rounded);
  else
    std::snprintf(buffer, sizeof buffer, "%.1f", rounded);
  return buffer;
}

}  // namespace scenario
