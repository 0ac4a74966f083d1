#include "model/rounding.hpp"

namespace scenario {

int64_t divide_round_half_even(int64_t numerator, int64_t denominator) {
  int64_t quotient = numerator / denominator;
  int64_t remainder = numerator % denominator;
  // Work on the floor so that negative values round the same way as positive ones.
  if (remainder < 0) {
    quotient -= 1;
    remainder += denominator;
  }
  const int64_t twice = 2 * remainder;
  if (twice > denominator || (twice == denominator && (quotient % 2 != 0))) quotient += 1;
  return quotient;
}

}  // namespace scenario
