#include "model/rounding.hpp"

#include <gtest/gtest.h>

namespace scenario {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  struct Case {
    int64_t numerator, denominator, expected;
  };
  const Case cases[] = {
      {3125, 50, 62}, {3175, 50, 64}, {7025, 50, 140}, {89000, 50, 1780}, {1325, 50, 26}, {1375, 50, 28},
      {97, 5, 19},    {98, 5, 20},    {-25, 50, 0},    {-75, 50, -2},     {-76, 50, -2},  {-74, 50, -1},
      {0, 50, 0},     {24, 50, 0},    {26, 50, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(divide_round_half_even(c.numerator, c.denominator), c.expected) << c.numerator << "/" << c.denominator;
}

TEST(Rounding, CellAfterAPositionRoundsTheSumAsOneValue) {
  EXPECT_EQ(cell_after_position(25), 2);  // 1.5 rounds to 2, not 0 + 1
  EXPECT_EQ(cell_after_position(75), 2);  // 2.5 rounds to 2
  EXPECT_EQ(cell_after_position(8600), 173);
  EXPECT_EQ(cell_of_position(52600), 1052);
}

}  // namespace
}  // namespace scenario
