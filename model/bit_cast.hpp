#pragma once

namespace scenario {

// The bits of `from` read as a `To` of the same size, as std::bit_cast reads them; on the
// compiler's own builtin, so that standard libraries without std::bit_cast build it too.
template <typename To, typename From>
constexpr To bit_cast(const From& from) noexcept {
  static_assert(sizeof(To) == sizeof(From), "bit_cast between types of one size");
  return __builtin_bit_cast(To, from);
}

}  // namespace scenario
