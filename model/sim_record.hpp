#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace scenario {

// One slot of the scenario records, fields in the order of the records file. The names
// are those of a station; the header slots give some of them other meanings.
struct SimRecord {
  uint8_t station_type = 0;
  int32_t start_m = 0;
  int32_t end_m = 0;
  int32_t position_m = 0;
  uint8_t p4 = 0;
  std::string text;  // Windows-1252 bytes, one per character
  int16_t p7 = 0;
  int16_t p8 = 0;
  int16_t p10 = 0;
  int16_t p11 = 0;
  int16_t p12 = 0;
  uint8_t p9 = 0;
  uint8_t p13 = 0;
  uint8_t p6 = 0;
  uint8_t p5 = 0;
  int32_t time_s = 0;

  bool operator==(const SimRecord&) const = default;
};

// The largest text a record's 16-bit byte count can announce.
inline constexpr size_t kMaxRecordTextBytes = 65535;

// Slot roles of the 87 records.
inline constexpr int kRecordCount = 87;
inline constexpr int kFirstStationSlot = 1;
inline constexpr int kFirstBoardTextSlot = 80;  // boards count down from here
inline constexpr int kKilometrePostSlots[3] = {81, 82, 83};
inline constexpr int kServiceDataSlot = 84;
inline constexpr int kScenarioNameSlot = 85;
inline constexpr int kScenarioNumberSlot = 86;

}  // namespace scenario
