#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/sim_record.hpp"

namespace scenario {

// A number that a station row only stores for the simulator, named by its place in the
// row ("field_4" is the row's 4th number), in the order of the row.
struct StationField {
  const char* name;
  int place;  // 4 .. 13
  int64_t (*value)(const SimRecord&);
};

std::span<const StationField> stored_station_fields();

}  // namespace scenario
