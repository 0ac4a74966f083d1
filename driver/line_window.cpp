#include "driver/line_window.hpp"

#include <algorithm>

namespace scenario {

LineWindow line_window(std::string_view line, int column) {
  if (line.size() <= kLineWindowWidth) return {std::string(line), column};
  constexpr std::string_view kCut = "...";
  const size_t at = column > 1 ? static_cast<size_t>(column - 1) : 0;
  // The caret a third of the way in: what follows it is what the row holds.
  const size_t begin = std::min(at > kLineWindowWidth / 3 ? at - kLineWindowWidth / 3 : 0, line.size() - kLineWindowWidth);
  const size_t end = begin + kLineWindowWidth;
  std::string text = begin > 0 ? std::string(kCut) : "";
  text += line.substr(begin, end - begin);
  if (end < line.size()) text += kCut;
  const size_t shift = begin > 0 ? kCut.size() : 0;
  return {std::move(text), static_cast<int>(at - begin + shift + 1)};
}

}  // namespace scenario
