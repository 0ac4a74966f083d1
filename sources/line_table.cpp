#include "sources/line_table.hpp"

#include <stdexcept>

#include "format/file_set.hpp"
#include "model/windows_1252.hpp"

namespace scenario {

const std::string& LineTable::slot(std::size_t k) const { return slots_.at(k); }

void LineTable::set_slot(std::size_t k, std::string text) { slots_.at(k) = std::move(text); }

LineTable line_table_from_text(std::string_view text) {
  LineTable table;
  std::size_t k = 0;
  while (!text.empty()) {
    // The last slot is kept for the end marker.
    if (k + 1 >= LineTable::kSlotCount)
      throw std::logic_error("a line table holds at most " + std::to_string(LineTable::kSlotCount - 1) + " lines");
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    if (line == kEndOfTableMarker)
      throw std::logic_error("line " + std::to_string(k + 1) + " is the end marker of a line table");
    table.set_slot(k++, std::string(line));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  table.set_slot(k, std::string(kEndOfTableMarker));
  return table;
}

void append_text_line(std::string& bytes, std::string_view line_1252) {
  bytes += line_1252;
  bytes += "\r\n";
}

std::string line_table_bytes(const LineTable& table) {
  std::string bytes;
  for (std::size_t k = 0; k < LineTable::kSlotCount && table.slot(k) != kEndOfTableMarker; ++k)
    append_text_line(bytes, utf8_to_1252(table.slot(k)));
  return bytes;
}

void scrivi_righe(const std::filesystem::path& folder, const std::string& file_name, const LineTable& table) {
  replace_file(folder / file_name, line_table_bytes(table));
}

}  // namespace scenario
