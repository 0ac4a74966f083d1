#include "reading/station_fields.hpp"

#include <algorithm>
#include <charconv>
#include <type_traits>
#include <vector>

#include "format/compiled_layouts.hpp"

namespace scenario {
namespace {

// The place in the row that a listed name "field_N" gives, 0 for any other name.
int place_of(std::string_view listed_name) {
  constexpr std::string_view kPrefix = "field_";
  if (!listed_name.starts_with(kPrefix)) return 0;
  int place = 0;
  std::from_chars(listed_name.data() + kPrefix.size(), listed_name.data() + listed_name.size(), place);
  return place;
}

std::vector<StationField> fields_by_place() {
  std::vector<StationField> fields;
  for_each_field(kSimRecordLayout, [&](const auto& f) {
    if constexpr (!std::is_same_v<typename std::decay_t<decltype(f)>::value_type, std::string>) {
      const int place = place_of(f.listed_name());
      if (place == 0) return;
      fields.push_back({std::string(f.listed_name()), place,
                        [member = f.member](const SimRecord& r) -> int64_t { return r.*member; }});
    }
  });
  std::sort(fields.begin(), fields.end(), [](const auto& a, const auto& b) { return a.place < b.place; });
  return fields;
}

}  // namespace

std::span<const StationField> stored_station_fields() {
  static const std::vector<StationField> fields = fields_by_place();
  return fields;
}

}  // namespace scenario
