#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/fault_table.hpp"

namespace scenario {

// Every warning of the system, by its stable number: W1, W2, ... A warning is what is legal
// but rarely meant; it never changes the compiled files.
enum class Warning : int32_t {
  kUnknownHeader = 1,
  kUnmatchedKeyword = 2,
  kRowOverLines = 3,
  kLineHoldsMore = 4,
  kOffCell = 5,
  kPastRouteLength = 6,
  kTextOverLines = 7,
  kLooksLikeUtf8 = 8,
  kMissingRows = 9,
  kOutsideRange = 10,
  kReadingStopped = 11,
  kKilometrePostsDropped = 12,
  kRowOutOfOrder = 13,
  kOverwrittenByStationExit = 14,
  kEndsBeforeStart = 15,
  kOverlapsRowBefore = 16,
  kFillAfterZero = 17,
  kTimeGoesBack = 18,
  kSlowdownOverLineSpeed = 19,
  kControlInText = 20,
  kRouteLengthInKilometres = 21,
  kTimetableTooTight = 22,
};

constexpr int32_t warning_number(Warning warning) { return static_cast<int32_t>(warning); }

// "W3" for warning 3.
std::string warning_id(int32_t number);

// Everything the system says about a warning: in `explain`, in the reference and as a rule
// of the SARIF document.
struct WarningDescription {
  Warning warning;
  std::string_view title;        // short English phrase, lower case, no full stop
  std::string_view explanation;  // what the compiler did, in sentences
  std::array<FaultCause, kMostCauses> causes;  // the first empty cause ends the list
  std::string_view example;      // source rows that give the warning, one per line
};

// Every warning, in increasing order of number.
std::span<const WarningDescription> warning_table();

// The description of a warning number, or null for a number that is no warning.
const WarningDescription* find_warning(int32_t number);

// The causes of a warning that are filled in, in order.
std::span<const FaultCause> warning_causes(const WarningDescription& warning);

}  // namespace scenario
