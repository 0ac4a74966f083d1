#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/rounding.hpp"
#include "model/sim_record.hpp"
#include "model/track_cell.hpp"

namespace scenario {

// The rules of the compiled files that the compiler places by and every reader reads back
// by, each written once. The cell length, the end margin, the speed unit and the gradient
// bias stand beside the cell they shape (model/track_cell.hpp).

// The track cells run this far past the route length.
inline constexpr int64_t kRouteExtension_m = 7000;

// A slowdown that starts beyond kSlowdownWarningFrom_m has its warning board
// kSlowdownWarningDistance_m in front of its start.
inline constexpr int64_t kSlowdownWarningFrom_m = 1500;
inline constexpr int64_t kSlowdownWarningDistance_m = 1200;
inline constexpr int64_t kSlowdownWarningCells = kSlowdownWarningDistance_m / kCellLength_m;
// The approach boards of a warned slowdown stand in the cells before its warning board,
// numbered 1 (nearest) up.
inline constexpr int kApproachBoardCount = 4;

constexpr bool slowdown_is_warned(int64_t start_m) { return start_m > kSlowdownWarningFrom_m; }

// A kilometre-post change of direction 1 runs falling; the compiler adds this to its offset.
inline constexpr int64_t kFallingOffsetCorrection_m = 100;

// Every code reduction point that the signalling walk adds has this speed.
inline constexpr int16_t kWalkPointSpeed_kmh = 180;

// Station types: a short platform reaches 150 m beyond its position and its length before
// it; a terminus its length on either side; named points from kFirstPointType on touch no
// cell; every other type takes half its length on either side.
inline constexpr uint8_t kFirstPointType = 25;
constexpr bool is_short_platform_type(uint8_t type) { return type == 5 || type == 6; }
constexpr bool is_terminus_type(uint8_t type) { return type == 7 || type == 8; }
constexpr bool is_named_point_type(uint8_t type) { return type >= kFirstPointType; }
// A station below the named points marks its exit; all but short platforms write approach
// codes in front of it.
constexpr bool marks_exit(uint8_t type) { return type < kFirstPointType; }
constexpr bool writes_station_approach_codes(uint8_t type) { return marks_exit(type) && !is_short_platform_type(type); }
// A short platform's area reaches this far past its position.
inline constexpr int64_t kShortPlatformReach_m = 150;
// Where a station's area starts and ends, by its type; `extended` (its sixth field not 0)
// moves the end of an area of half its length on either side one cell further.
struct StationArea {
  int64_t start_m;
  int64_t end_m;
};
inline StationArea station_area(int64_t position_m, uint8_t type, int64_t length_m, bool extended) {
  if (is_short_platform_type(type)) return {position_m - length_m, position_m + kShortPlatformReach_m};
  if (is_terminus_type(type)) return {position_m - length_m, position_m + length_m};
  const int64_t half = divide_round_half_even(length_m, 2);
  return {position_m - half, position_m + half + (extended ? kCellLength_m : 0)};
}
// The cell of the station exit: the one before the cell where the area ends.
inline int64_t station_exit_cell(int64_t end_m) { return divide_round_half_even(end_m, kCellLength_m) - 1; }

// What a cell's fills mean.
constexpr int64_t speed_kmh(uint8_t speed_code) { return int64_t{speed_code} * kSpeedUnit_kmh; }
// A stored gradient of 0 is a cell no gradient row reached.
constexpr int64_t gradient_per_mille(uint8_t stored) { return int64_t{stored} - kGradientBias; }

// A speed-limit board holds each of its speeds as one value: the left speed in units of
// kSpeedUnit_kmh in its hundreds, the right one below; its stripes as tens and units.
inline constexpr int64_t kBoardSideScale = 100;
inline constexpr int64_t kStripeSideScale = 10;
constexpr int64_t board_left_kmh(int64_t value) { return value / kBoardSideScale * kSpeedUnit_kmh; }
constexpr int64_t board_right_kmh(int64_t value) { return value % kBoardSideScale * kSpeedUnit_kmh; }

// A field of a header record (slots 81 to 86) with a meaning of its own: the slot, the
// member that holds it, and the name listings give it.
template <typename T>
struct HeaderField {
  int slot;
  T SimRecord::*member;
  std::string_view name;

  T& in(std::array<SimRecord, kRecordCount>& records) const { return records[static_cast<size_t>(slot)].*member; }
  const T& in(const std::array<SimRecord, kRecordCount>& records) const {
    return records[static_cast<size_t>(slot)].*member;
  }
};

// The service data.
inline constexpr HeaderField<int32_t> kBrakedMassPercent{kServiceDataSlot, &SimRecord::start_m, "braked_mass_percent"};
inline constexpr HeaderField<int32_t> kRouteLength{kServiceDataSlot, &SimRecord::end_m, "route_length_m"};
inline constexpr HeaderField<int32_t> kCoaches{kServiceDataSlot, &SimRecord::position_m, "coaches"};
// The scenario's name, its backgrounds and what the post-pass stamps.
inline constexpr HeaderField<std::string> kNameText{kScenarioNameSlot, &SimRecord::text, "name"};
inline constexpr HeaderField<int32_t> kBackgroundUno{kScenarioNameSlot, &SimRecord::start_m, "background_uno"};
inline constexpr HeaderField<int32_t> kBackgroundDue{kScenarioNameSlot, &SimRecord::position_m, "background_due"};
inline constexpr HeaderField<int32_t> kBackgroundTre{kScenarioNameSlot, &SimRecord::end_m, "background_tre"};
inline constexpr HeaderField<int16_t> kRecordHeaderConstantField{kScenarioNameSlot, &SimRecord::p7, "constant"};
inline constexpr HeaderField<int32_t> kWeightedCompetitionCode{kScenarioNameSlot, &SimRecord::time_s,
                                                               "competition_code"};
// The scenario's number, the signal repetition, the sand and the clock.
inline constexpr HeaderField<std::string> kNumberText{kScenarioNumberSlot, &SimRecord::text, "number"};
inline constexpr HeaderField<int32_t> kSignalRepetitionStart{kScenarioNumberSlot, &SimRecord::start_m, "repetition_start_m"};
inline constexpr HeaderField<int32_t> kSignalRepetitionEnd{kScenarioNumberSlot, &SimRecord::end_m, "repetition_end_m"};
inline constexpr HeaderField<int32_t> kSignalRepetitionCodes{kScenarioNumberSlot, &SimRecord::position_m, "repetition_codes"};
inline constexpr HeaderField<int16_t> kSand{kScenarioNumberSlot, &SimRecord::p7, "sand"};
inline constexpr HeaderField<int16_t> kClockHours{kScenarioNumberSlot, &SimRecord::p10, "clock_hours"};
inline constexpr HeaderField<int16_t> kClockMinutes{kScenarioNumberSlot, &SimRecord::p11, "clock_minutes"};
inline constexpr HeaderField<int16_t> kClockSeconds{kScenarioNumberSlot, &SimRecord::p12, "clock_seconds"};

// The post-pass stamps the cell header constant and the sum competition code into the values
// of this cell.
inline constexpr size_t kCodesCell = 1;
inline constexpr int16_t TrackCell::*kCellHeaderConstantValue = &TrackCell::value1;
inline constexpr int16_t TrackCell::*kSumCompetitionCodeValue = &TrackCell::value2;

// A kilometre-post change (slots 81 to 83): where it applies, the offset as stored, and
// its direction (1 falling).
inline constexpr int32_t SimRecord::*kPostChangePosition = &SimRecord::start_m;
inline constexpr int32_t SimRecord::*kPostChangeOffset = &SimRecord::end_m;
inline constexpr int32_t SimRecord::*kPostChangeDirection = &SimRecord::position_m;
inline constexpr int32_t kFallingDirection = 1;

// The offset a change means, from the offset it stores.
constexpr int64_t post_change_offset_m(const SimRecord& change) {
  return change.*kPostChangeDirection == kFallingDirection ? int64_t{change.*kPostChangeOffset} - kFallingOffsetCorrection_m
                                                           : int64_t{change.*kPostChangeOffset};
}

}  // namespace scenario
