#include "compiler/slowdowns.hpp"

#include <iterator>
#include <span>
#include <string>

#include "compiler/field_ranges.hpp"
#include "compiler/occupied_cells.hpp"
#include "compiler/source_warnings.hpp"
#include "compiler/track_bounds.hpp"
#include "model/rounding.hpp"
#include "compiler/fault_recording.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

void write_second_value(TrackCell& cell, int32_t d_v) {
  if (d_v != 0) cell.value2 = low16(d_v);
}

}  // namespace

std::optional<RowFault> memo_rallentamento(CompileContext& context, const SlowdownRow& row) {
  ScenarioModel& model = context.model;
  const bool warned = slowdown_is_warned(row.x);
  const int32_t f_ta = warned ? row.f_ta : 0;
  const int64_t warning_m = int64_t{row.x} - kSlowdownWarningDistance_m;

  const int64_t w = cell_after_position(warning_m);
  if (warned && !model.cell(w).is_free()) {
    return occupied_cell_fault(context, Fault::kWarningBoardOccupied, row.x, w);
  }
  const int64_t s = cell_after_position(row.x);
  if (s < 0)
    throw before_route_start("slowdown", row.x, "its start cell lies", "a slowdown", lowest_position_after_cell(0));
  TrackCell& start = model.cell(s);
  if (!start.is_free()) {
    return occupied_cell_fault(context, Fault::kSlowdownStartOccupied, row.x, s);
  }
  const int64_t end_m = int64_t{row.x} + row.l;
  const int64_t e = cell_after_position(end_m);
  if (e < 0)
    throw before_route_start("slowdown", row.x, "its end, at " + std::to_string(end_m) + " m, lies", "its end",
                             lowest_position_after_cell(0));
  TrackCell& end = model.cell(e);
  if (!end.is_free()) {
    return occupied_cell_fault(context, Fault::kSlowdownEndOccupied, row.x, e);
  }

  // E before S: a slowdown of length 0 leaves its one cell a start.
  end.kind = kSlowdownEnd;
  write_second_value(end, row.d_v);
  start.kind = kSlowdownStart;
  write_second_value(start, row.d_v);
  note_cell_origin(context, e, row.x);
  note_cell_origin(context, s, row.x);
  if (warned) {
    TrackCell& warning = model.cell(w);
    warning.kind = kSlowdownWarningBoard;
    note_cell_origin(context, w, row.x);
    write_second_value(warning, row.d_v);
    warning.value1 = low16(row.v);
  }
  start.value1 = low16(row.v);
  end.value1 = low16(row.v);
  start.value3 = low16(row.f_tt);
  end.value3 = low16(row.f_tt);

  if (f_ta == 0) return std::nullopt;
  const int64_t b = cell_of_position(warning_m);
  for (int i = 0; i < kApproachBoardCount; ++i) {
    if (!model.cell(b - i).is_free()) {
      return occupied_cell_fault(context, Fault::kApproachBoardsOccupied, row.x, b - i);
    }
  }
  for (int i = 0; i < kApproachBoardCount; ++i) {
    TrackCell& board = model.cell(b - i);
    board.kind = kApproachBoard;
    note_cell_origin(context, b - i, row.x);
    board.value1 = static_cast<int16_t>(i + 1);
    if (row.d_v != 0) board.value2 = static_cast<int16_t>(i + 1);
  }
  return std::nullopt;
}

RowOutcome read_slowdown_row(CompileContext& context, FieldReader& reader) {
  SlowdownRow row;
  int32_t* const fields[] = {&row.x, &row.v, &row.l, &row.f_tt, &row.f_ta, &row.d_v};
  SourcePlace places[std::size(fields)];
  for (size_t i = 0; i < std::size(fields); ++i) {
    *fields[i] = reader.read_long();
    places[i] = reader.last_field_place();
  }
  if (auto beyond = beyond_the_cells(context, row.x, kEndMargin_m)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_after(context, row.x);
  warn_if_off_cell_after(context, int64_t{row.x} + row.l);
  // The speed and fields 4 and 6 are stored as their low 16 bits (field 6 only when not 0).
  static const std::span<const RowField> kFields = find_row("rallentamento")->fields;
  for (const size_t i : {size_t{1}, size_t{3}, size_t{5}})
    warn_if_outside_range(context, kFields[i], *fields[i], low16(*fields[i]), places[i]);
  return stop_if_any_fault(context, row.x, memo_rallentamento(context, row));
}

RowOutcome read_code_reduction_row(CompileContext& context, FieldReader& reader) {
  const int32_t position = reader.read_long();
  const int32_t value = reader.read_long();
  const SourcePlace value_place = reader.last_field_place();
  if (auto beyond = beyond_the_cells(context, position, kEndMargin_m)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_of(context, position);
  static const RowField& kValue = row_field("abbattimento", "value");
  if (value > 0) warn_if_outside_range(context, kValue, value, low16(value), value_place);
  const int64_t c = cell_of_position(position);
  if (c < 0)
    throw before_route_start("code reduction point", position, "its cell lies", "a code reduction point",
                             lowest_position_in_cell(0));
  TrackCell& cell = context.model.cell(c);
  if (!cell.is_free()) {
    return RowOutcome::stop(occupied_cell_fault(context, Fault::kCodeReductionOccupied, position, c));
  }
  note_cell_origin(context, c, position);
  if (value > 0) {
    cell.kind = kCodeReduction;
    cell.value1 = low16(value);
  } else {
    cell.kind = kCodeReductionNonPositive;
  }
  return RowOutcome::next_row();
}

}  // namespace scenario
