#include "compiler/stations.hpp"

#include <optional>

#include "compiler/field_ranges.hpp"
#include "format/compiled_files.hpp"
#include "compiler/occupied_cells.hpp"
#include "model/approach_codes.hpp"
#include "model/rounding.hpp"
#include "model/runtime_failure.hpp"
#include "model/windows_1252.hpp"
#include "compiler/fault_recording.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

// A station needs this much track beyond its position.
constexpr int64_t kStationMargin_m = 800;
// The least distance between one station area's end and the next one's start.
constexpr int64_t kStationGap_m = 350;


// Start and end of the station area, by type, stored in this order; each is computed
// exactly and checked as it is stored. Then the fields the area rules store as 0.
void derive_area(SimRecord& station, int32_t length, bool first_station) {
  const StationArea area = station_area(station.position_m, station.station_type, length, station.p6 != 0);
  auto store = [](int32_t& field, int64_t value) { field = checked_int32(value, "station area does not fit 32 bits"); };
  if (is_short_platform_type(station.station_type)) {
    store(station.end_m, area.end_m);
    store(station.start_m, area.start_m);
  } else {
    store(station.start_m, area.start_m);
    store(station.end_m, area.end_m);
  }
  if (is_short_platform_type(station.station_type) || is_terminus_type(station.station_type)) station.p6 = 0;
  if (length < 600) station.p5 = 0;
  if (first_station) {
    // After the area, so a first station with p6 keeps its longer area.
    station.p5 = 0;
    station.p6 = 0;
  }
}

// A timetable field: a warning at it when it lies outside its range.
template <size_t kIndex>
int64_t read_time_field(CompileContext& context, StationValues& values) {
  const int64_t value = values.get<kIndex>();
  warn_if_outside_range(context, values.field<kIndex>(), value, value, values.place<kIndex>());
  return value;
}

// The fields behind the length, stored for the simulator, then the timetable time and the
// name: the whole row is in the slot, the name included, before the time is stored.
void read_stored_fields(CompileContext& context, StationValues& values, SimRecord& station, int32_t slot) {
  using Field = rows::StationField;
  station.p4 = values.get<Field::kField4>();
  station.p5 = values.get<Field::kField5>();
  station.p6 = values.get<Field::kField6>();
  station.p7 = values.get<Field::kField7>();
  station.p8 = values.get<Field::kField8>();
  station.p9 = values.get<Field::kField9>();
  station.p10 = values.get<Field::kField10>();
  station.p11 = values.get<Field::kField11>();
  station.p12 = values.get<Field::kField12>();
  station.p13 = values.get<Field::kField13>();
  context.station_time_places.insert_or_assign(slot, values.place<Field::kHours>());
  const int64_t hours = read_time_field<Field::kHours>(context, values);
  const int64_t minutes = read_time_field<Field::kMinutes>(context, values);
  const int64_t seconds = read_time_field<Field::kSeconds>(context, values);
  station.text = std::move(values.get<Field::kName>());
  station.time_s = checked_int32((hours * 60 + minutes) * 60 + seconds, "timetable time does not fit 32 bits");
}

// The approach codes before the station's exit and the exit marker, as its type asks; the
// fault of an exit before cell 2, if any.
std::optional<RowFault> mark_station_cells(CompileContext& context, const SimRecord& station, int32_t slot) {
  ScenarioModel& model = context.model;
  const uint8_t type = station.station_type;
  const int64_t exit_cell = station_exit_cell(station.end_m);
  if (writes_station_approach_codes(type)) {
    for (int k = 1; k <= kApproachCodeCount; ++k) {
      const int64_t a = station_approach_cell(exit_cell, k);
      if (takes_station_approach_code(a)) model.cell(a).approach = station_approach_code(k);
    }
  }
  if (!marks_exit(type)) return std::nullopt;
  if (exit_cell <= 1) return RowFault{Fault::kStationExitTooEarly};
  // The exit marker takes its cell whatever the cell holds.
  TrackCell& exit = model.cell(exit_cell);
  if (!exit.is_free())
    report_warning(context, Warning::kOverwrittenByStationExit,
                   "the exit of station '" + utf8_from_1252(station.text) + "' takes cell " + std::to_string(exit_cell) +
                       " (" + std::to_string(exit_cell * kCellLength_m) + " m) whatever it holds: what stood there (" +
                       cell_kind_name(exit.kind) + ") is lost",
                   std::nullopt, std::nullopt, {note_of_cell_holder(context, exit_cell, "held")});
  exit.kind = StationValues::cell_kind(kStationExit);
  note_cell_origin(context, exit_cell, station.position_m);
  exit.value1 = static_cast<int16_t>(slot);
  return std::nullopt;
}

}  // namespace

RowOutcome read_station_row(CompileContext& context, StationValues& values, StationSlots& slots) {
  using Field = rows::StationField;
  ScenarioModel& model = context.model;
  const int32_t s = slots.station_counter;
  // With every slot up to s − 1 taken by board texts not even the first field may be stored.
  if (s > slots.board_slot_counter) return RowOutcome::stop({Fault::kTooManyStations});
  SimRecord& station = model.record(s);

  station.position_m = values.get<Field::kPosition>();
  const int32_t position = station.position_m;
  if (auto beyond = beyond_the_cells(context, position, kStationMargin_m)) return RowOutcome::end_reading(std::move(*beyond));
  if (position % kCellLength_m != 0) {
    // As W5 offers for the features that are moved to their cell.
    const int64_t on_cell = kCellLength_m * cell_of_position(position);
    return RowOutcome::stop(
        {Fault::kStationPosition, position, {}, DiagnosticFix{std::to_string(position), std::to_string(on_cell)}});
  }
  station.station_type = values.get<Field::kType>();
  const int32_t length = values.get<Field::kLength>();
  if (length % 100 != 0) return RowOutcome::stop({Fault::kStationLength, position});

  read_stored_fields(context, values, station, s);
  derive_area(station, length, s == kFirstStationSlot);
  if (std::optional<RowFault> fault = mark_station_cells(context, station, s)) return RowOutcome::stop(std::move(*fault));
  if (s > kFirstStationSlot && int64_t{station.start_m} - kStationGap_m < model.record(s - 1).end_m)
    return RowOutcome::stop({Fault::kStationsTooClose, position});

  slots.station_counter = s + 1;
  if (slots.station_counter >= slots.board_slot_counter) return RowOutcome::stop({Fault::kTooManyStations});
  return RowOutcome::next_row();
}

}  // namespace scenario
