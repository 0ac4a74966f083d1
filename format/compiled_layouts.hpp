#pragma once

#include <cstddef>
#include <tuple>

#include "format/field_layout.hpp"
#include "model/line_plan.hpp"
#include "model/sim_record.hpp"
#include "model/track_cell.hpp"

namespace scenario {

// The fields of the compiled records, each once, in file order and little-endian. A new
// field is one line here and one member of its record: the encoder, the decoder, the
// annotated dump, inspect's listing and diff's comparison field by field follow from it.
// What it means to an author is told where that reading lives: its rule in
// model/format_rules.hpp, its words in the summary and in diff, its row in decompile.

const char* describe_cell_kind(int64_t kind);

// <name>_<n>.dat: the cells one after the other, no header.
inline constexpr std::tuple kTrackCellLayout{
    Field<TrackCell, uint8_t>{"kind", &TrackCell::kind, "what the cell holds", describe_cell_kind, "feature"},
    field("value1", &TrackCell::value1, "first value, by kind"),
    field("value2", &TrackCell::value2, "second value, by kind"),
    field("value3", &TrackCell::value3, "third value, by kind"),
    field("value4", &TrackCell::value4, "fourth value, by kind"),
    field("signal_time", &TrackCell::signal_time, "a signal's time value"),
    field("approach", &TrackCell::approach, "approach code in front of a signal or a station exit"),
    Field<TrackCell, uint8_t>{"mountain", &TrackCell::mountain, "type of the mountain stretch over the cell", nullptr, "", {}, true},
    Field<TrackCell, uint8_t>{"speed_limit", &TrackCell::speed_limit, "line speed limit, km/h divided by 5", nullptr, "",
                              {"speed_kmh", kSpeedUnit_kmh, 0}, true},
    Field<TrackCell, uint8_t>{"gradient", &TrackCell::gradient, "gradient plus 100", nullptr, "",
                              {"gradient", 1, -kGradientBias}, true},
    Field<TrackCell, uint8_t>{"adhesion", &TrackCell::adhesion, "adhesion value", nullptr, "", {}, true},
};

// <name>_<n>.sim: the 87 record slots one after the other, each its fixed fields and its
// text. The names are those of a station; other slots give some of them other meanings.
// Listings name a station's fields by what they mean (type, area start and end, timetable
// time) and the numbers the row only stores for the simulator by their place in the row
// ("field_4" is its 4th number).
inline constexpr std::tuple kSimRecordLayout{
    listed_field("station_type", &SimRecord::station_type, "2nd number of the station row", "type"),
    listed_field("start_m", &SimRecord::start_m, "start of the station area, metres", "area_start_m"),
    listed_field("end_m", &SimRecord::end_m, "end of the station area, metres", "area_end_m"),
    field("position_m", &SimRecord::position_m, "1st number of the station row, metres"),
    listed_field("p4", &SimRecord::p4, "4th number of the station row", "field_4"),
    field("text", &SimRecord::text, "station name or board text, Windows-1252"),
    listed_field("p7", &SimRecord::p7, "7th number of the station row", "field_7"),
    listed_field("p8", &SimRecord::p8, "8th number of the station row", "field_8"),
    listed_field("p10", &SimRecord::p10, "10th number of the station row", "field_10"),
    listed_field("p11", &SimRecord::p11, "11th number of the station row", "field_11"),
    listed_field("p12", &SimRecord::p12, "12th number of the station row", "field_12"),
    listed_field("p9", &SimRecord::p9, "9th number of the station row", "field_9"),
    listed_field("p13", &SimRecord::p13, "13th number of the station row", "field_13"),
    listed_field("p6", &SimRecord::p6, "6th number of the station row", "field_6"),
    listed_field("p5", &SimRecord::p5, "5th number of the station row", "field_5"),
    listed_field("time_s", &SimRecord::time_s, "timetable time of the station row, seconds after midnight",
                 "timetable_time_s"),
};

// The name listings give a member of a record: the name of its field in the layout.
template <typename T>
constexpr std::string_view listed_name_of(T SimRecord::*member) {
  std::string_view name;
  for_each_field(kSimRecordLayout, [&](const auto& f) {
    if constexpr (std::is_same_v<typename std::decay_t<decltype(f)>::value_type, T>)
      if (f.member == member) name = f.listed_name();
  });
  return name;
}

inline constexpr size_t kTrackCellBytes = fixed_bytes(kTrackCellLayout);
inline constexpr size_t kRecordFixedBytes = fixed_bytes(kSimRecordLayout);
// The most a records file may hold: every record with the longest text.
inline constexpr size_t kMaxRecordsFileBytes = kRecordCount * (kRecordFixedBytes + kMaxRecordTextBytes);

// <name>_linea.dat: the x column, then the y column, of tagged values: a 16-bit tag, then
// the value it announces.
struct PlanElementKind {
  PlanElement::Tag tag;
  const char* name;      // of the value, and of the tag in the dump
  size_t value_bytes;
};

inline constexpr size_t kPlanTagBytes = 2;
inline constexpr PlanElementKind kPlanElementKinds[] = {
    {PlanElement::kEmpty, "empty", 0},
    {PlanElement::kInt16, "integer", 2},
    {PlanElement::kDouble, "double", 8},
};

constexpr size_t plan_element_bytes(PlanElement::Tag tag) {
  for (const PlanElementKind& kind : kPlanElementKinds)
    if (kind.tag == tag) return kPlanTagBytes + kind.value_bytes;
  return kPlanTagBytes;
}

}  // namespace scenario
