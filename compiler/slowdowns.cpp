#include "compiler/slowdowns.hpp"

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

// A value stored as its low 16 bits: a warning at its field when it lies outside the field's
// range.
template <size_t kIndex>
void warn_if_low16_outside_range(const CompileContext& context, SlowdownValues& values) {
  const int32_t written = values.get<kIndex>();
  warn_if_outside_range(context, values.field<kIndex>(), written, low16(written), values.place<kIndex>());
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
  end.kind = SlowdownValues::cell_kind(kSlowdownEnd);
  write_second_value(end, row.d_v);
  start.kind = SlowdownValues::cell_kind(kSlowdownStart);
  write_second_value(start, row.d_v);
  note_cell_origin(context, e, row.x);
  note_cell_origin(context, s, row.x);
  if (warned) {
    TrackCell& warning = model.cell(w);
    warning.kind = SlowdownValues::cell_kind(kSlowdownWarningBoard);
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
    board.kind = SlowdownValues::cell_kind(kApproachBoard);
    note_cell_origin(context, b - i, row.x);
    board.value1 = static_cast<int16_t>(i + 1);
    if (row.d_v != 0) board.value2 = static_cast<int16_t>(i + 1);
  }
  return std::nullopt;
}

RowOutcome read_slowdown_row(CompileContext& context, SlowdownValues& values) {
  using Field = rows::SlowdownField;
  values.read_all();
  const SlowdownRow row{.x = values.get<Field::kStart>(),
                        .v = values.get<Field::kSpeed>(),
                        .l = values.get<Field::kLength>(),
                        .f_tt = values.get<Field::kField4>(),
                        .f_ta = values.get<Field::kApproachBoards>(),
                        .d_v = values.get<Field::kField6>()};
  if (auto beyond = beyond_the_cells(context, row.x, kEndMargin_m)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_after(context, row.x);
  warn_if_off_cell_after(context, int64_t{row.x} + row.l);
  // The speed and fields 4 and 6 are stored as their low 16 bits (field 6 only when not 0).
  warn_if_low16_outside_range<Field::kSpeed>(context, values);
  warn_if_low16_outside_range<Field::kField4>(context, values);
  warn_if_low16_outside_range<Field::kField6>(context, values);
  return stop_if_any_fault(context, row.x, memo_rallentamento(context, row));
}

RowOutcome read_code_reduction_row(CompileContext& context, CodeReductionValues& values) {
  using Field = rows::CodeReductionField;
  const int32_t position = values.get<Field::kPosition>();
  const int32_t value = values.get<Field::kValue>();
  if (auto beyond = beyond_the_cells(context, position, kEndMargin_m)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_of(context, position);
  if (value > 0) warn_if_outside_range(context, values.field<Field::kValue>(), value, low16(value), values.place<Field::kValue>());
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
    cell.kind = CodeReductionValues::cell_kind(kCodeReduction);
    cell.value1 = low16(value);
  } else {
    cell.kind = CodeReductionValues::cell_kind(kCodeReductionNonPositive);
  }
  return RowOutcome::next_row();
}

}  // namespace scenario
