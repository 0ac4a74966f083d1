#pragma once

// The compile fuzz target's bound on the route length, which is also the route it checks an
// unread service source against. Every cell of a route is made,
// filled, walked for the signals and the competition codes and encoded: a route of the
// longest length (twenty thousand cells) runs the same loops a hundred times over what a
// route of a few kilometres runs, under the sanitizers several milliseconds a run. The
// compiler has no cheaper way, since its files hold every cell, so the target leaves out
// inputs whose 'lunghezza percorso' row gives a length between kLongestFuzzedRoute_m and
// the longest route; a length past the longest route (a fault) is still compiled. The row
// is found as most sources write it (keyword, comma, digits on one line); an input that
// writes it otherwise is compiled whatever its length, which costs time and nothing else.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "schema/row_schema.hpp"

namespace scenario::fuzzing {

inline constexpr int64_t kLongestFuzzedRoute_m = 100000;

// The length a 'lunghezza percorso' row on `line` gives in plain digits, or -1.
inline int64_t route_length_on(std::string_view line) {
  const size_t comma = line.find(',');
  if (comma == std::string_view::npos) return -1;
  std::string keyword(line.substr(0, comma));
  for (char& c : keyword) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (keyword.find("lunghezza") == std::string::npos || keyword.find("percorso") == std::string::npos) return -1;
  size_t at = line.find_first_not_of(" \t", comma + 1);
  int64_t length = -1;
  for (; at < line.size() && std::isdigit(static_cast<unsigned char>(line[at])) && length <= kLongestRoute_m; ++at)
    length = (length < 0 ? 0 : length * 10) + (line[at] - '0');
  return length;
}

// Whether the line source (what comes before the first NUL) gives a route longer than the
// target compiles, but not so long that it is a fault.
inline bool route_longer_than_fuzzed(std::string_view input) {
  const std::string_view line_source = input.substr(0, input.find('\0'));
  for (size_t start = 0; start < line_source.size();) {
    const size_t end = std::min(line_source.find_first_of("\r\n", start), line_source.size());
    const int64_t length = route_length_on(line_source.substr(start, end - start));
    if (length > kLongestFuzzedRoute_m && length <= kLongestRoute_m) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace scenario::fuzzing
