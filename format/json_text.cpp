#include "format/json_text.hpp"

#include <cstdio>

namespace scenario {

std::string json_string(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string json_optional(const std::optional<int64_t>& number) {
  return number ? std::to_string(*number) : "null";
}

}  // namespace scenario
