#include "compiler/service_section_rows.hpp"

#include "compiler/field_ranges.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"

namespace scenario {
namespace {

// A clock field, stored as read: a warning at it when it lies outside its range.
template <size_t kIndex>
void place_clock_field(ServiceRowContext& context, ClockValues& row, const HeaderField<int16_t>& stored) {
  const int16_t value = row.get<kIndex>();
  stored.in(context.compile.model.sim_records) = value;
  warn_if_outside_range(context.compile, row.field<kIndex>(), value, value, row.place<kIndex>());
}

}  // namespace

RowOutcome place_braked_mass(ServiceRowContext& context, std::string_view, BrakedMassValues& row) {
  kBrakedMassPercent.in(context.compile.model.sim_records) = row.get<rows::BrakedMassField::kPercentage>();
  return RowOutcome::next_row();
}

RowOutcome place_coaches(ServiceRowContext& context, std::string_view, CoachesValues& row) {
  using Field = rows::CoachesField;
  const int32_t count = row.get<Field::kCount>();
  kCoaches.in(context.compile.model.sim_records) = count;
  warn_if_outside_range(context.compile, row.field<Field::kCount>(), count, count, row.place<Field::kCount>());
  return RowOutcome::next_row();
}

RowOutcome place_line_speed(ServiceRowContext& context, std::string_view, LineSpeedValues& row) {
  using Field = rows::LineSpeedField;
  ++context.speed_rows;
  return place_fill_row(context.compile, context.speed, row.get<Field::kPosition>(), row.get<Field::kSpeed>(),
                        row.place<Field::kSpeed>());
}

RowOutcome place_adhesion(ServiceRowContext& context, std::string_view, AdhesionValues& row) {
  using Field = rows::AdhesionField;
  ++context.adhesion_rows;
  const RowOutcome outcome = place_fill_row(context.compile, context.adhesion, row.get<Field::kPosition>(),
                                            row.get<Field::kAdhesion>(), row.place<Field::kAdhesion>());
  const int32_t adhesion = context.adhesion.current;
  if (outcome.goes_on())
    warn_if_outside_range(context.compile, row.field<Field::kAdhesion>(), adhesion, low8(adhesion),
                          row.place<Field::kAdhesion>());
  return outcome;
}

RowOutcome place_clock(ServiceRowContext& context, std::string_view, ClockValues& row) {
  using Field = rows::ClockField;
  place_clock_field<Field::kHours>(context, row, kClockHours);
  place_clock_field<Field::kMinutes>(context, row, kClockMinutes);
  place_clock_field<Field::kSeconds>(context, row, kClockSeconds);
  return RowOutcome::next_row();
}

RowOutcome place_sand(ServiceRowContext& context, std::string_view, SandValues& row) {
  kSand.in(context.compile.model.sim_records) = row.get<rows::SandField::kValue>();
  return RowOutcome::next_row();
}

RowOutcome place_signal(ServiceRowContext& context, std::string_view, SignalValues& row) {
  return read_signal_row(context.compile, row);
}

RowOutcome place_slowdown(ServiceRowContext& context, std::string_view, SlowdownValues& row) {
  return read_slowdown_row(context.compile, row);
}

RowOutcome place_code_reduction(ServiceRowContext& context, std::string_view, CodeReductionValues& row) {
  return read_code_reduction_row(context.compile, row);
}

RowOutcome place_station(ServiceRowContext& context, std::string_view, StationValues& row) {
  ++context.station_rows;
  return read_station_row(context.compile, row, context.stations);
}

}  // namespace scenario
