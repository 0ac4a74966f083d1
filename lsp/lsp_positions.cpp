#include "lsp/lsp_positions.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace scenario {

nlohmann::json lsp_position(int line, int character) { return {{"line", line}, {"character", character}}; }

nlohmann::json lsp_range(int start_line, int start_character, int end_line, int end_character) {
  return {{"start", lsp_position(start_line, start_character)}, {"end", lsp_position(end_line, end_character)}};
}

int position_number(const nlohmann::json& value) {
  constexpr int kMost = std::numeric_limits<int>::max();
  if (value.is_number_unsigned()) return static_cast<int>(std::min<uint64_t>(value.get<uint64_t>(), kMost));
  if (value.is_number_integer()) return static_cast<int>(std::clamp<int64_t>(value.get<int64_t>(), 0, kMost));
  if (value.is_number_float()) {
    const double number = value.get<double>();
    if (!(number > 0)) return 0;  // NaN as well
    return number >= kMost ? kMost : static_cast<int>(number);
  }
  return value.get<int>();  // throws: not a number
}

}  // namespace scenario
