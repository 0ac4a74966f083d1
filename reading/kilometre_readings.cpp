#include "reading/kilometre_readings.hpp"

#include <algorithm>
#include <cstdio>
#include "model/format_rules.hpp"

namespace scenario {
KilometreReadings::KilometreReadings(const std::array<SimRecord, kRecordCount>& records) {
  for (const int slot : kKilometrePostSlots) {
    const SimRecord& r = records[static_cast<size_t>(slot)];
    if (r.start_m == 0 && r.end_m == 0 && r.position_m == 0) continue;
    changes_.push_back({r.*kPostChangePosition, post_change_offset_m(r), r.*kPostChangeDirection == kFallingDirection});
  }
  std::stable_sort(changes_.begin(), changes_.end(),
                   [](const auto& a, const auto& b) { return a.position_m < b.position_m; });
}

int64_t KilometreReadings::reading_m(int64_t position_m) const {
  const KilometrePostChange* in_force = nullptr;
  for (const KilometrePostChange& change : changes_)
    if (change.position_m <= position_m) in_force = &change;
  if (in_force == nullptr) return position_m;
  return in_force->falling ? int64_t{in_force->offset_m} - position_m : position_m + in_force->offset_m;
}

std::string kilometre_text(int64_t reading_m) {
  const int64_t magnitude = reading_m < 0 ? -reading_m : reading_m;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%lld.%03lld", reading_m < 0 ? "-" : "",
                static_cast<long long>(magnitude / 1000), static_cast<long long>(magnitude % 1000));
  return buffer;
}

}  // namespace scenario
