#include "documents/form_drawing.hpp"

#include <algorithm>
#include <stdexcept>

#include "model/windows_1252.hpp"

namespace scenario {

std::string bar_line(std::span<const int> bars, char fill) {
  if (bars.empty()) return "";
  std::string line(static_cast<size_t>(bars.back()), fill);
  std::fill(line.begin(), line.begin() + bars.front() - 1, ' ');
  for (const int bar : bars) line[static_cast<size_t>(bar - 1)] = '|';
  return line;
}

std::string edge_line(int blanks, int last_column) {
  return std::string(static_cast<size_t>(blanks), ' ') + std::string(static_cast<size_t>(last_column - blanks), '_');
}

void put_text(std::string& line, int column, std::string_view text, int last) {
  if (column < 1 || column > last) return;
  const auto length = std::min(text.size(), static_cast<size_t>(last - column + 1));
  if (line.size() < static_cast<size_t>(last)) line.resize(static_cast<size_t>(last), ' ');
  line.replace(static_cast<size_t>(column - 1), length, text.substr(0, length));
}

void put_fitted(std::string& line, int column, std::string_view text, int first, int last) {
  put_text(line, std::max(first, std::min(column, last - static_cast<int>(text.size()) + 1)), text, last);
}

void put_right(std::string& line, int right, std::string_view text, int first) {
  put_fitted(line, right - static_cast<int>(text.size()) + 1, text, first, right);
}

void put_centred(std::string& line, int first, int last, std::string_view text) {
  const int spare = std::max(0, last - first + 1 - static_cast<int>(text.size()));
  put_text(line, first + spare / 2, text, last);
}

std::string form_bytes(const std::vector<std::string>& lines_1252) {
  if (lines_1252.size() >= LineTable::kSlotCount)
    throw std::length_error("the form needs " + std::to_string(lines_1252.size()) + " lines; a text file of this system holds at most " +
                            std::to_string(LineTable::kSlotCount - 1));
  // The lines are Windows-1252 already and go to the file as they are: every byte that a
  // compiled text holds, those five that carry no character too, comes out as it went in.
  std::string bytes;
  for (const std::string& line : lines_1252) append_text_line(bytes, line);
  return bytes;
}

}  // namespace scenario
