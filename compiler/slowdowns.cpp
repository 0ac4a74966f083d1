#include "compiler/slowdowns.hpp"

#include <iterator>
#include <span>

#include "compiler/field_ranges.hpp"
#include "compiler/occupied_cells.hpp"
#include "compiler/source_warnings.hpp"
#include "model/rounding.hpp"
#include "model/fault_record.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {


void write_second_value(TrackCell& cell, int32_t d_v) {
  if (d_v != 0) cell.value2 = low16(d_v);
}

}  // namespace

void memo_rallentamento(ScenarioModel& model, const SlowdownRow& row) {
  const bool warned = slowdown_is_warned(row.x);
  const int32_t f_ta = warned ? row.f_ta : 0;
  const int64_t warning_m = int64_t{row.x} - kSlowdownWarningDistance_m;

  const int64_t w = cell_after_position(warning_m);
  if (warned && !model.cell(w).is_free()) {
    record_occupied_cell_fault(model, Fault::kWarningBoardOccupied, row.x, w);
    return;
  }
  const int64_t s = cell_after_position(row.x);
  TrackCell& start = model.cell(s);
  if (!start.is_free()) {
    record_occupied_cell_fault(model, Fault::kSlowdownStartOccupied, row.x, s);
    return;
  }
  const int64_t e = cell_after_position(int64_t{row.x} + row.l);
  TrackCell& end = model.cell(e);
  if (!end.is_free()) {
    record_occupied_cell_fault(model, Fault::kSlowdownEndOccupied, row.x, e);
    return;
  }

  // E before S: a slowdown of length 0 leaves its one cell a start.
  end.kind = kSlowdownEnd;
  write_second_value(end, row.d_v);
  start.kind = kSlowdownStart;
  write_second_value(start, row.d_v);
  note_cell_origin(model, e);
  note_cell_origin(model, s);
  if (warned) {
    TrackCell& warning = model.cell(w);
    warning.kind = kSlowdownWarningBoard;
    note_cell_origin(model, w);
    write_second_value(warning, row.d_v);
    warning.value1 = low16(row.v);
  }
  start.value1 = low16(row.v);
  end.value1 = low16(row.v);
  start.value3 = low16(row.f_tt);
  end.value3 = low16(row.f_tt);

  if (f_ta == 0) return;
  const int64_t b = cell_of_position(warning_m);
  for (int i = 0; i < kApproachBoardCount; ++i) {
    if (!model.cell(b - i).is_free()) {
      record_occupied_cell_fault(model, Fault::kApproachBoardsOccupied, row.x, b - i);
      return;
    }
  }
  for (int i = 0; i < kApproachBoardCount; ++i) {
    TrackCell& board = model.cell(b - i);
    board.kind = kApproachBoard;
    note_cell_origin(model, b - i);
    board.value1 = static_cast<int16_t>(i + 1);
    if (row.d_v != 0) board.value2 = static_cast<int16_t>(i + 1);
  }
}

RowOutcome read_slowdown_row(ScenarioModel& model, FieldReader& reader) {
  SlowdownRow row;
  int32_t* const fields[] = {&row.x, &row.v, &row.l, &row.f_tt, &row.f_ta, &row.d_v};
  SourcePlace places[std::size(fields)];
  for (size_t i = 0; i < std::size(fields); ++i) {
    *fields[i] = reader.read_long();
    places[i] = reader.last_field_place();
  }
  if (beyond_the_cells(model, row.x, kEndMargin_m)) return RowOutcome::kEndReading;
  warn_if_off_cell_after(model, row.x);
  warn_if_off_cell_after(model, int64_t{row.x} + row.l);
  // The speed and fields 4 and 6 are stored as their low 16 bits (field 6 only when not 0).
  static const std::span<const RowField> kFields = find_row("rallentamento")->fields;
  for (const size_t i : {size_t{1}, size_t{3}, size_t{5}})
    warn_if_outside_range(model, kFields[i], *fields[i], low16(*fields[i]), places[i]);
  const int32_t fault_before_row = model.error_code;
  memo_rallentamento(model, row);
  return fault_exit_if_any_fault(model, row.x, fault_before_row);
}

RowOutcome read_code_reduction_row(ScenarioModel& model, FieldReader& reader) {
  const int32_t position = reader.read_long();
  const int32_t value = reader.read_long();
  const SourcePlace value_place = reader.last_field_place();
  if (beyond_the_cells(model, position, kEndMargin_m)) return RowOutcome::kEndReading;
  warn_if_off_cell_of(model, position);
  static const RowField& kValue = row_field("abbattimento", "value");
  if (value > 0) warn_if_outside_range(model, kValue, value, low16(value), value_place);
  const int64_t c = cell_of_position(position);
  TrackCell& cell = model.cell(c);
  if (!cell.is_free()) {
    record_occupied_cell_fault(model, Fault::kCodeReductionOccupied, position, c);
    return RowOutcome::kFaultExit;
  }
  note_cell_origin(model, c);
  if (value > 0) {
    cell.kind = kCodeReduction;
    cell.value1 = low16(value);
  } else {
    cell.kind = kCodeReductionNonPositive;
  }
  return RowOutcome::kNext;
}

}  // namespace scenario
