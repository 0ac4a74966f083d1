#include "format/json_text.hpp"

#include <cstdio>

#include "model/windows_1252.hpp"

namespace scenario {

std::string json_string(std::string_view utf8) {
  std::string out = "\"";
  for (size_t at = 0; at < utf8.size();) {
    const char c = utf8[at];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else if (byte >= 0x80) {
      // A byte that is not part of a UTF-8 character (a file name in another encoding) is
      // written as the text \xNN, so the document stays valid UTF-8 and the byte is told.
      if (const size_t length = utf8_character_length(utf8, at); length > 0) {
        out += utf8.substr(at, length);
        at += length;
        continue;
      }
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\\\x%02x", byte);
      out += escape;
    } else {
      out += c;
    }
    ++at;
  }
  return out + '"';
}

std::string json_optional(const std::optional<int64_t>& number) {
  return number ? std::to_string(*number) : "null";
}

}  // namespace scenario
