// A diagnostic on a very long line shows a window of it around the caret.
#include "driver/line_window.hpp"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

// A line whose every byte tells its place, so a shifted caret shows.
std::string numbered_line(size_t length) {
  std::string line;
  for (size_t i = 0; i < length; ++i) line += static_cast<char>('a' + i % 26);
  return line;
}

TEST(LineWindow, ShowsTheCaretsByteWithinAWindowOfBoundedWidth) {
  struct Case {
    size_t length;
    int column;
    bool cut_before, cut_after;
  };
  const Case cases[] = {
      {kLineWindowWidth, kLineWindowWidth, false, false},  // short enough: whole
      {1000000, 1, false, true},                           // at the start
      {1000000, 500000, true, true},                       // in the middle
      {1000000, 1000000, true, false},                     // the last byte
      {300, 150, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + " bytes, column " + std::to_string(c.column));
    const std::string line = numbered_line(c.length);
    const LineWindow window = line_window(line, c.column);
    EXPECT_LE(window.text.size(), kLineWindowWidth + 6);
    ASSERT_GE(window.column, 1);
    ASSERT_LE(static_cast<size_t>(window.column), window.text.size());
    EXPECT_EQ(window.text[static_cast<size_t>(window.column) - 1], line[static_cast<size_t>(c.column) - 1]);
    EXPECT_EQ(window.text.starts_with("..."), c.cut_before);
    EXPECT_EQ(window.text.ends_with("..."), c.cut_after);
  }
}

}  // namespace
}  // namespace scenario
