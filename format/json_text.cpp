#include "format/json_text.hpp"

#include <cstdio>

#include "model/windows_1252.hpp"

namespace scenario {

JsonValue json_text(std::string_view utf8) {
  std::string text;
  text.reserve(utf8.size());
  for (size_t at = 0; at < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[at]);
    if (byte < 0x80) {
      text += utf8[at++];
    } else if (const size_t length = utf8_character_length(utf8, at); length > 0) {
      text += utf8.substr(at, length);
      at += length;
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", byte);
      text += escape;
      ++at;
    }
  }
  return text;
}

// Every text went through json_text; should one not have, its stray bytes are replaced
// rather than failing the output.
std::string json_document(const JsonValue& value) {
  return value.dump(2, ' ', false, JsonValue::error_handler_t::replace) + '\n';
}

std::string json_line(const JsonValue& value) {
  return value.dump(-1, ' ', false, JsonValue::error_handler_t::replace);
}

}  // namespace scenario
