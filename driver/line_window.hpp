#pragma once

#include <string>
#include <string_view>

namespace scenario {

// What a diagnostic shows of its source line: the whole line when it is short, else a
// window of it around the column, with "..." where it was cut. A row in the middle of a
// line of a megabyte is so shown in a line of a terminal.
struct LineWindow {
  std::string text;
  int column = 1;  // the caret's column within `text`
};

inline constexpr size_t kLineWindowWidth = 120;

LineWindow line_window(std::string_view line, int column);

}  // namespace scenario
