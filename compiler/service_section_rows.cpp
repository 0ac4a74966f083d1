#include "compiler/service_section_rows.hpp"

#include <iterator>

#include "compiler/field_ranges.hpp"
#include "compiler/signals.hpp"
#include "compiler/slowdowns.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"

namespace scenario {

RowOutcome place_braked_mass(ServiceRowContext& context, std::string_view) {
  kBrakedMassPercent.in(context.compile.model.sim_records) = context.reader.read_long();
  return RowOutcome::next_row();
}

RowOutcome place_coaches(ServiceRowContext& context, std::string_view) {
  static const RowField& kCount = row_field("numero vetture", "count");
  const int32_t count = context.reader.read_long();
  kCoaches.in(context.compile.model.sim_records) = count;
  warn_if_outside_range(context.compile, kCount, count, count, context.reader.last_field_place());
  return RowOutcome::next_row();
}

RowOutcome place_line_speed(ServiceRowContext& context, std::string_view) {
  ++context.speed_rows;
  return read_fill_row(context.compile, context.reader, context.speed);
}

RowOutcome place_adhesion(ServiceRowContext& context, std::string_view) {
  static const RowField& kAdhesion = row_field("aderenza", "adhesion");
  ++context.adhesion_rows;
  const RowOutcome outcome = read_fill_row(context.compile, context.reader, context.adhesion);
  const int32_t adhesion = context.adhesion.current;
  if (outcome.goes_on())
    warn_if_outside_range(context.compile, kAdhesion, adhesion, low8(adhesion), context.reader.last_field_place());
  return outcome;
}

RowOutcome place_clock(ServiceRowContext& context, std::string_view) {
  static const HeaderField<int16_t>* const kStored[] = {&kClockHours, &kClockMinutes, &kClockSeconds};
  static const RowField* const kFields[] = {&row_field("orologio", "hours"), &row_field("orologio", "minutes"),
                                            &row_field("orologio", "seconds")};
  for (size_t i = 0; i < std::size(kStored); ++i) {
    const int16_t value = context.reader.read_integer();
    kStored[i]->in(context.compile.model.sim_records) = value;
    warn_if_outside_range(context.compile, *kFields[i], value, value, context.reader.last_field_place());
  }
  return RowOutcome::next_row();
}

RowOutcome place_sand(ServiceRowContext& context, std::string_view) {
  kSand.in(context.compile.model.sim_records) = context.reader.read_integer();
  return RowOutcome::next_row();
}

RowOutcome place_signal(ServiceRowContext& context, std::string_view) {
  return read_signal_row(context.compile, context.reader);
}

RowOutcome place_slowdown(ServiceRowContext& context, std::string_view) {
  return read_slowdown_row(context.compile, context.reader);
}

RowOutcome place_code_reduction(ServiceRowContext& context, std::string_view) {
  return read_code_reduction_row(context.compile, context.reader);
}

RowOutcome place_station(ServiceRowContext& context, std::string_view) {
  ++context.station_rows;
  return read_station_row(context.compile, context.reader, context.stations);
}

}  // namespace scenario
