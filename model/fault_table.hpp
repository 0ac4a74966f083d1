#pragma once

#include <span>
#include <string_view>

namespace scenario {

// Fault numbers of the whole system.
enum FaultNumber : int {
  kFaultRouteTooLong = 1,
  kFaultKilometrePostNotMultipleOf50 = 2,
  kFaultRepetitionStart = 3,
  kFaultRepetitionEnd = 4,
  kFaultRepetitionCodes = 5,
  kFaultIndicatorBoardOccupied = 6,
  kFaultCodeReductionOccupied = 7,
  kFaultStationPosition = 8,
  kFaultStationLength = 9,
  kFaultTooManyStations = 10,
  kFaultNoCellBeforeSignal = 11,
  kFaultNoApproachCell = 12,
  kFaultNoRepeatOrExitCell = 13,
  kFaultBeyondTrack = 15,
  kFaultSignalOccupied = 16,
  kFaultWarningBoardOccupied = 17,
  kFaultSlowdownStartOccupied = 18,
  kFaultSlowdownEndOccupied = 19,
  kFaultApproachBoardsOccupied = 20,
  kFaultSpeedLimitBoardOccupied = 21,
  kFaultStationsTooClose = 22,
  kFaultStationExitTooEarly = 24,
  kFaultRuntimeFailure = 25,
  kFaultLineFileMissing = 101,
  kFaultNoGeneralSection = 102,
  kFaultCurve = 103,
  kFaultHeaderConstantsInUse = 1250,
  kFaultHeaderCodesInUse = 1251,
};

struct FaultDescription {
  int number;
  std::string_view meaning;  // short English phrase, lower case, no full stop
};

// Every fault number with its meaning, in increasing order.
std::span<const FaultDescription> fault_table();

// The meaning of a fault number, or "unknown fault" for a number not in the table.
std::string_view fault_meaning(int number);

}  // namespace scenario
