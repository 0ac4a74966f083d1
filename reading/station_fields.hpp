#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "model/sim_record.hpp"

namespace scenario {

// A number that a station row only stores for the simulator, under the name the records'
// layout lists it by: its place in the row ("field_4" is the row's 4th number).
struct StationField {
  std::string name;
  int place;  // 4 .. 13
  std::function<int64_t(const SimRecord&)> value;
};

// Those fields in the order of the row, taken from the records' layout.
std::span<const StationField> stored_station_fields();

}  // namespace scenario
