#include "compiler/general_section_rows.hpp"

#include "compiler/field_ranges.hpp"
#include "format/compiled_files.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {
namespace {

using rows::BackgroundField;
using rows::KilometrePostField;
using rows::RouteLengthField;
using rows::SignalRepetitionField;

RowOutcome read_kilometre_post(GeneralRowContext& context, KilometrePostValues& row, int slot_number) {
  SimRecord& slot = context.compile.model.record(slot_number);
  slot.start_m = row.get<KilometrePostField::kPosition>();
  slot.end_m = row.get<KilometrePostField::kOffset>();
  slot.position_m = row.get<KilometrePostField::kDirection>();
  // Only 1 reads as falling: any other direction is a rising reading.
  warn_if_outside_range(context.compile, row.field<KilometrePostField::kDirection>(), slot.position_m,
                        std::to_string(slot.position_m) + ", which reads as 0 (a rising reading)",
                        row.place<KilometrePostField::kDirection>());
  if (context.compile.row_place)
    context.kilometre_post_rows.push_back({slot.start_m, slot.end_m, slot.position_m, *context.compile.row_place});
  return RowOutcome::next_row();
}

}  // namespace

RowOutcome place_route_length(GeneralRowContext& context, std::string_view, RouteLengthValues& row) {
  ScenarioModel& model = context.compile.model;
  const int32_t length = row.get<RouteLengthField::kLength>();
  kRouteLength.in(model.sim_records) = length;
  if (length > kLongestRoute_m) return RowOutcome::stop({Fault::kRouteTooLong});
  const int32_t extent = checked_int32(int64_t{length} + kRouteExtension_m, "route extent does not fit 32 bits");
  const int64_t last_cell = cell_of_position(extent);
  // Refused before anything is dimensioned, so the model keeps its earlier cells.
  if (last_cell < 0 || (model.plan_mode != 0 && extent < 0)) throw RuntimeFailure("route length below zero");
  model.route_extent_m = extent;
  model.dimension_cells(static_cast<int32_t>(last_cell));
  if (model.plan_mode != 0) model.line_plan = LinePlan(extent);
  return RowOutcome::next_row();
}

RowOutcome place_kilometre_post_tre(GeneralRowContext& context, std::string_view, KilometrePostValues& row) {
  return read_kilometre_post(context, row, kKilometrePostSlots[0]);
}
RowOutcome place_kilometre_post_due(GeneralRowContext& context, std::string_view, KilometrePostValues& row) {
  return read_kilometre_post(context, row, kKilometrePostSlots[1]);
}
RowOutcome place_kilometre_post_uno(GeneralRowContext& context, std::string_view, KilometrePostValues& row) {
  return read_kilometre_post(context, row, kKilometrePostSlots[2]);
}

// The backgrounds go to slot 85 in the order uno, tre, due.
RowOutcome place_background_uno(GeneralRowContext& context, std::string_view, BackgroundValues& row) {
  kBackgroundUno.in(context.compile.model.sim_records) = row.get<BackgroundField::kValue>();
  return RowOutcome::next_row();
}
RowOutcome place_background_due(GeneralRowContext& context, std::string_view, BackgroundValues& row) {
  kBackgroundDue.in(context.compile.model.sim_records) = row.get<BackgroundField::kValue>();
  return RowOutcome::next_row();
}
RowOutcome place_background_tre(GeneralRowContext& context, std::string_view, BackgroundValues& row) {
  kBackgroundTre.in(context.compile.model.sim_records) = row.get<BackgroundField::kValue>();
  return RowOutcome::next_row();
}

RowOutcome place_signal_repetition(GeneralRowContext& context, std::string_view keyword,
                                   SignalRepetitionValues& row) {
  auto& records = context.compile.model.sim_records;
  int32_t& start = kSignalRepetitionStart.in(records);
  int32_t& end = kSignalRepetitionEnd.in(records);
  start = row.get<SignalRepetitionField::kStart>();
  end = row.get<SignalRepetitionField::kEnd>();
  if (start % kCellLength_m != 0) return RowOutcome::stop({Fault::kRepetitionStart});
  if (end % kCellLength_m != 0) return RowOutcome::stop({Fault::kRepetitionEnd});
  int32_t& codes = kSignalRepetitionCodes.in(records);
  if (contains(keyword, "4"))
    codes = 4;
  else if (contains(keyword, "9"))
    codes = 9;
  else
    return RowOutcome::stop({Fault::kRepetitionCodes});
  if (end == 0) codes = 0;
  return RowOutcome::next_row();
}

}  // namespace scenario
