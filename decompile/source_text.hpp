#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// A source text being written back: Windows-1252 lines, each ended as every source file
// ends its lines.
class SourceText {
 public:
  SourceText& line(std::string_view text);
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// `value` right-aligned in `width` characters, the way the sources line up their columns.
std::string column(int64_t value, int width);
// `value` after `blanks` blanks.
std::string padded(int64_t value, int blanks);

// A text field as the field reader gives it back: as it is, or between double quotes when
// it holds a comma, a line end or blanks at either end. None when no field reads as it
// (a text that needs quotes and holds a double quote, or begins with one).
std::optional<std::string> text_field(std::string_view text);

}  // namespace scenario
