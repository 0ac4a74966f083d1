#pragma once

#include <cstdint>

#include "model/cell_kinds.hpp"

namespace scenario {

// The track is cut into cells of this length; cell c covers metres 50 × c onwards.
inline constexpr int64_t kCellLength_m = 50;
// A feature must lie at least this far before the end of the cells (fault 15).
inline constexpr int64_t kEndMargin_m = 100;
// A cell's speed limit is stored in units of this many km/h.
inline constexpr int32_t kSpeedUnit_kmh = 5;
// A cell's gradient is stored plus this bias, so that a descent fits an unsigned byte.
inline constexpr int32_t kGradientBias = 100;

// One cell of the track, fields in the order of the track-cell file.
struct TrackCell {
  uint8_t kind = kFreeCell;
  int16_t value1 = 0;
  int16_t value2 = 0;
  int16_t value3 = 0;
  int16_t value4 = 0;
  uint8_t signal_time = 0;
  uint8_t approach = 0;
  uint8_t mountain = 0;
  uint8_t speed_limit = 0;  // km/h divided by kSpeedUnit_kmh
  uint8_t gradient = 0;     // per mille plus kGradientBias
  uint8_t adhesion = 0;

  // A new feature may take a cell that is empty or holds only a mountain marker.
  bool is_free() const { return kind == kFreeCell || kind == kMountainMarker; }

  bool operator==(const TrackCell&) const = default;
};

}  // namespace scenario
