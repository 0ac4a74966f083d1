#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/source_place.hpp"

namespace scenario {

// A failure of the kind the original platform raised at run time: an array index out of
// bounds, a 32-bit overflow, a number that does not fit its field, a read past the end of a
// source file. The compiler catches it once for the whole compile and records fault 25.
class RuntimeFailure : public std::runtime_error {
 public:
  // `place`: where the failing field begins, when a field caused the failure.
  explicit RuntimeFailure(const std::string& what, std::optional<SourcePlace> place = std::nullopt)
      : std::runtime_error(what), place_(place) {}

  const std::optional<SourcePlace>& place() const { return place_; }

 private:
  std::optional<SourcePlace> place_;
};

// Sums, differences and comparisons on the way are exact (64-bit); only a value stored
// into a field is checked, and one that the field cannot hold fails the way the platform
// did instead of wrapping.
int32_t checked_int32(int64_t value, const char* what);
int16_t checked_int16(int64_t value, const char* what);

}  // namespace scenario
