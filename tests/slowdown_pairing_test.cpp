#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "reading/slowdown_pairing.hpp"

namespace scenario {
namespace {

// Cells from a picture of the track: 'S' a start and 'E' an end of speed 60, 's' and 'e'
// of speed 80, '.' nothing.
std::vector<TrackCell> cells_of(const std::string& picture) {
  std::vector<TrackCell> cells(picture.size());
  for (size_t i = 0; i < picture.size(); ++i) {
    const char c = picture[i];
    if (c == '.') continue;
    cells[i].kind = c == 'S' || c == 's' ? kSlowdownStart : kSlowdownEnd;
    cells[i].value1 = c == 'S' || c == 'E' ? 60 : 80;
  }
  return cells;
}

// Starts take the nearest open end of their own values; a start with none keeps its end in
// its own cell, and an end before a start of its values is a negative length. What no start
// claims is left over.
TEST(SlowdownPairing, EachStartWithAnEndOfItsValues) {
  struct Case {
    const char* picture;
    std::vector<std::pair<int64_t, int64_t>> slowdowns;
    std::vector<int64_t> lone_ends;
  };
  for (const Case& c : {
           Case{"..S..E..S.E", {{2, 5}, {8, 10}}, {}},
           Case{"S.S.E.E", {{0, 6}, {2, 4}}, {}},              // one inside another
           Case{"S.s.E.e", {{0, 4}, {2, 6}}, {}},              // crossing, told apart by speed
           Case{"S.S.S.E", {{0, 0}, {2, 2}, {4, 6}}, {}},      // ends in their own cells
           Case{"E..S", {{3, 0}}, {}},                         // the end before the start
           Case{"E.e.S.E", {{4, 6}}, {0, 2}},                  // ends no start claims
           Case{"S.E.E.S", {{0, 2}, {6, 4}}, {}},
       }) {
    SCOPED_TRACE(c.picture);
    const SlowdownPairing pairing = pair_slowdowns(cells_of(c.picture));
    std::vector<std::pair<int64_t, int64_t>> slowdowns;
    for (const SlowdownCells& s : pairing.slowdowns) slowdowns.emplace_back(s.start_cell, s.end_cell);
    EXPECT_EQ(slowdowns, c.slowdowns);
    EXPECT_EQ(pairing.lone_ends, c.lone_ends);
  }
}

}  // namespace
}  // namespace scenario
