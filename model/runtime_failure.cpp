#include "model/runtime_failure.hpp"

#include <limits>

namespace scenario {

int32_t checked_int32(int64_t value, const char* what) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    throw RuntimeFailure(what);
  return static_cast<int32_t>(value);
}

int16_t checked_int16(int64_t value, const char* what) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
    throw RuntimeFailure(what);
  return static_cast<int16_t>(value);
}

}  // namespace scenario
