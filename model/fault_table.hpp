#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace scenario {

// Every fault of the system, by its number. Numbers 14 and 23 are not used.
enum class Fault : int32_t {
  kRouteTooLong = 1,
  kKilometrePostNotMultipleOf50 = 2,
  kRepetitionStart = 3,
  kRepetitionEnd = 4,
  kRepetitionCodes = 5,
  kIndicatorBoardOccupied = 6,
  kCodeReductionOccupied = 7,
  kStationPosition = 8,
  kStationLength = 9,
  kTooManyStations = 10,
  kNoCellBeforeSignal = 11,
  kNoApproachCell = 12,
  kNoRepeatOrExitCell = 13,
  kBeyondTrack = 15,
  kSignalOccupied = 16,
  kWarningBoardOccupied = 17,
  kSlowdownStartOccupied = 18,
  kSlowdownEndOccupied = 19,
  kApproachBoardsOccupied = 20,
  kSpeedLimitBoardOccupied = 21,
  kStationsTooClose = 22,
  kStationExitTooEarly = 24,
  kRuntimeFailure = 25,
  kLineFileMissing = 101,
  kNoGeneralSection = 102,
  kCurve = 103,
  kHeaderConstantsInUse = 1250,
  kHeaderCodesInUse = 1251,
};

constexpr int32_t fault_number(Fault fault) { return static_cast<int32_t>(fault); }

// One likely cause of a fault, in an author's words, and how to put it right.
struct FaultCause {
  std::string_view cause;
  std::string_view fix;
};

inline constexpr std::size_t kMostCauses = 4;

// Everything the system says about a fault: in diagnostics, in `explain` and in the
// source-format reference.
struct FaultDescription {
  Fault fault;
  std::string_view meaning;      // short English phrase, lower case, no full stop
  std::string_view explanation;  // what the rule is and what the compiler did, in sentences
  std::array<FaultCause, kMostCauses> causes;  // the first empty cause ends the list
  std::string_view example;      // source rows that give the fault, one per line
};

// Every fault, in increasing order of number.
std::span<const FaultDescription> fault_table();

// The description of a fault number, or null for a number that is no fault.
const FaultDescription* find_fault(int32_t number);

// The meaning of a fault number, or "unknown fault" for a number not in the table.
std::string_view fault_meaning(int32_t number);

// The causes of a list that are filled in, in order: the first empty cause ends it.
std::span<const FaultCause> filled_causes(const std::array<FaultCause, kMostCauses>& causes);

// The causes of a fault that are filled in, in order.
std::span<const FaultCause> fault_causes(const FaultDescription& fault);

}  // namespace scenario
