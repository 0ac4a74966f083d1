#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/sim_record.hpp"

namespace scenario {

// One change of the kilometre readings, as the author wrote it in the line source: from
// `position_m` on, the reading is position + offset (rising) or offset - position (falling).
struct KilometrePostChange {
  int32_t position_m = 0;
  int64_t offset_m = 0;
  bool falling = false;
};

// The kilometre readings of the driver's papers along a route, from the three change slots
// of the records. The compiler adds 100 m to the offset of a falling change for the
// simulator; the readings undo that, so that they agree with the line source and with the
// boards beside the track. A slot left (0, 0, 0) holds no change.
class KilometreReadings {
 public:
  explicit KilometreReadings(const std::array<SimRecord, kRecordCount>& records);

  // The changes in running order (by position).
  const std::vector<KilometrePostChange>& changes() const { return changes_; }

  // The reading at a position, in metres: the position itself before the first change.
  int64_t reading_m(int64_t position_m) const;

 private:
  std::vector<KilometrePostChange> changes_;
};

// A reading in kilometres with three decimals, as the papers print it: "28.600", "-0.050".
std::string kilometre_text(int64_t reading_m);

}  // namespace scenario
