#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// The text that closes a line table. It stops the writing and never reaches a file.
inline constexpr std::string_view kEndOfTableMarker = "riferimento fine del file";

// A table of text lines with slots 0 to 1000: slot k holds line k + 1 of a file, the slot
// after the last line holds the end marker, so a table carries at most 1000 lines. The
// texts are UTF-8 here; they become Windows-1252 only when written.
class LineTable {
 public:
  static constexpr std::size_t kSlotCount = 1001;

  LineTable() : slots_(kSlotCount) {}

  // Checked: a slot outside 0..1000 throws std::out_of_range.
  const std::string& slot(std::size_t k) const;
  void set_slot(std::size_t k, std::string text);

 private:
  std::vector<std::string> slots_;
};

// Fills a table from a text whose lines each end with "\n" (a last line without one counts
// too) and puts the end marker behind the last line. Throws std::logic_error for a text of
// more than 1000 lines, or with a line equal to the end marker, which would cut the file
// short without a word.
LineTable line_table_from_text(std::string_view text);

// Appends one line of a text file as every file of this system ends it: the Windows-1252
// bytes of the line, then CR LF.
void append_text_line(std::string& bytes, std::string_view line_1252);

// The bytes of a table's file: slot after slot up to the end marker (an exact,
// case-sensitive match of the whole slot), each in Windows-1252 and followed by CR LF; an
// empty slot is an empty line. A table without the marker ends after slot 1000. Throws
// std::invalid_argument for a character that Windows-1252 lacks.
std::string line_table_bytes(const LineTable& table);

// Replaces folder/file_name whole with the table's bytes. The bytes are complete before
// the file is touched; a file fault throws FileError.
void scrivi_righe(const std::filesystem::path& folder, const std::string& file_name, const LineTable& table);

}  // namespace scenario
