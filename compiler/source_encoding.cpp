#include "compiler/source_encoding.hpp"

#include <algorithm>
#include <cstddef>

#include "schema/field_reader.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

bool starts_with_bytes(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

// Every `width`-th byte of the first ones is a letter and the rest NUL: ASCII in a wide encoding.
bool nul_pattern(std::string_view bytes, size_t width, size_t letter) {
  const size_t units = std::min<size_t>(bytes.size() / width, 64);
  if (units == 0) return false;
  for (size_t unit = 0; unit < units; ++unit) {
    for (size_t i = 0; i < width; ++i) {
      const char byte = bytes[unit * width + i];
      if ((i == letter) == (byte == '\0')) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::string> wide_encoding_of(std::string_view bytes) {
  using namespace std::string_view_literals;
  if (starts_with_bytes(bytes, "\xFF\xFE\0\0"sv)) return "UTF-32 (little-endian)";
  if (starts_with_bytes(bytes, "\0\0\xFE\xFF"sv)) return "UTF-32 (big-endian)";
  if (starts_with_bytes(bytes, "\xFF\xFE"sv)) return "UTF-16 (little-endian)";
  if (starts_with_bytes(bytes, "\xFE\xFF"sv)) return "UTF-16 (big-endian)";
  if (nul_pattern(bytes, 4, 0)) return "UTF-32 (little-endian)";
  if (nul_pattern(bytes, 4, 3)) return "UTF-32 (big-endian)";
  if (nul_pattern(bytes, 2, 0)) return "UTF-16 (little-endian)";
  if (nul_pattern(bytes, 2, 1)) return "UTF-16 (big-endian)";
  return std::nullopt;
}

std::string source_from_utf8(std::string_view bytes, const std::string& file) {
  if (starts_with_bytes(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
  try {
    return utf8_to_1252(bytes);
  } catch (const Utf8ConversionError& e) {
    // Lines as the reader counts them (CR LF, LF or a lone CR): the line ends are ASCII, the
    // same bytes in UTF-8 as in the text it becomes.
    const SourcePlace place = FieldReader(bytes, file).place_of(e.offset());
    const int line = place.line;
    const size_t line_start = e.offset() - static_cast<size_t>(place.column - 1);
    // What stands before the character converts, or the conversion would have failed there.
    const std::string before = utf8_to_1252(bytes.substr(line_start, e.offset() - line_start));
    throw SourceEncodingError(std::string("this source cannot be read as UTF-8 into Windows-1252: ") + e.what(), file,
                              line, static_cast<int>(before.size()) + 1, before);
  }
}

}  // namespace scenario
