#pragma once

#include <cstdint>

namespace scenario {

// What a 50 m track cell holds.
enum CellKind : uint8_t {
  kFreeCell = 0,
  kSignal = 1,
  kSlowdownEnd = 2,
  kSlowdownStart = 3,
  kSlowdownWarningBoard = 4,
  kApproachBoard = 5,
  kSpeedLimitBoards = 6,
  kStationExit = 10,
  kMountainMarker = 11,
  kCodeReduction = 12,
  kCodeReductionNonPositive = 13,
  kIndicatorBoard = 14,
};

// One 50 m cell of the track, fields in the order of the track-cell file.
struct TrackCell {
  uint8_t kind = kFreeCell;
  int16_t value1 = 0;
  int16_t value2 = 0;
  int16_t value3 = 0;
  int16_t value4 = 0;
  uint8_t signal_time = 0;
  uint8_t approach = 0;
  uint8_t mountain = 0;
  uint8_t speed_limit = 0;  // km/h divided by 5
  uint8_t gradient = 0;     // per mille plus 100
  uint8_t adhesion = 0;

  // A new feature may take a cell that is empty or holds only a mountain marker.
  bool is_free() const { return kind == kFreeCell || kind == kMountainMarker; }

  bool operator==(const TrackCell&) const = default;
};

// Short English name of a kind, for listings; "kind N" for codes the compiler never sets.
const char* cell_kind_name(uint8_t kind);

}  // namespace scenario
