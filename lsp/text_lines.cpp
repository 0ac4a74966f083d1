#include "lsp/text_lines.hpp"

#include <algorithm>

#include "model/windows_1252.hpp"

namespace scenario {
namespace {

// The length of the character at `at`: a byte that does not begin one counts alone.
std::size_t character_length(std::string_view line, std::size_t at) {
  const std::size_t length = utf8_character_length(line, at);
  return length == 0 ? 1 : length;
}

}  // namespace

std::vector<std::string_view> text_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '\r' && text[at] != '\n') continue;
    lines.push_back(text.substr(start, at - start));
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
    start = at + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

int utf16_of_byte(std::string_view line, std::size_t byte) {
  int units = 0;
  for (std::size_t at = 0; at < line.size() && at < byte;) {
    const std::size_t length = character_length(line, at);
    units += length == 4 ? 2 : 1;
    at += length;
  }
  return units;
}

std::size_t byte_of_utf16(std::string_view line, int units) {
  std::size_t at = 0;
  for (int counted = 0; at < line.size() && counted < units;) {
    const std::size_t length = character_length(line, at);
    counted += length == 4 ? 2 : 1;
    at += length;
  }
  return at;
}

std::size_t byte_of_character(std::string_view line, std::size_t characters) {
  std::size_t at = 0;
  for (std::size_t counted = 0; at < line.size() && counted < characters; ++counted) at += character_length(line, at);
  return at;
}

std::size_t byte_of_position(std::string_view text, int line, int units) {
  std::size_t start = 0;
  for (int counted = 0; counted < line; ++counted) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) return text.size();
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
  return start + byte_of_utf16(text.substr(start, end - start), units);
}

}  // namespace scenario
