#include "reading/station_fields.hpp"

namespace scenario {

std::span<const StationField> stored_station_fields() {
  static constexpr StationField kFields[] = {
      {"field_4", 4, [](const SimRecord& r) -> int64_t { return r.p4; }},
      {"field_5", 5, [](const SimRecord& r) -> int64_t { return r.p5; }},
      {"field_6", 6, [](const SimRecord& r) -> int64_t { return r.p6; }},
      {"field_7", 7, [](const SimRecord& r) -> int64_t { return r.p7; }},
      {"field_8", 8, [](const SimRecord& r) -> int64_t { return r.p8; }},
      {"field_9", 9, [](const SimRecord& r) -> int64_t { return r.p9; }},
      {"field_10", 10, [](const SimRecord& r) -> int64_t { return r.p10; }},
      {"field_11", 11, [](const SimRecord& r) -> int64_t { return r.p11; }},
      {"field_12", 12, [](const SimRecord& r) -> int64_t { return r.p12; }},
      {"field_13", 13, [](const SimRecord& r) -> int64_t { return r.p13; }},
  };
  return kFields;
}

}  // namespace scenario
