#include "compiler/slowdowns.hpp"

#include "model/rounding.hpp"
#include "model/fault_record.hpp"
#include "model/fault_table.hpp"

namespace scenario {
namespace {

// Slowdowns from here on have a warning board 1200 m before them.
constexpr int32_t kWarningBoardFrom = 1500;
constexpr int32_t kWarningDistance = 1200;

void write_second_value(TrackCell& cell, int32_t d_v) {
  if (d_v != 0) cell.value2 = low16(d_v);
}

}  // namespace

void memo_rallentamento(ScenarioModel& model, const SlowdownRow& row) {
  const bool warned = row.x > kWarningBoardFrom;
  const int32_t f_ta = warned ? row.f_ta : 0;
  const int64_t warning_m = int64_t{row.x} - kWarningDistance;

  if (warned && !model.cell(cell_after_position(warning_m)).is_free()) {
    record_fault(model, Fault::kWarningBoardOccupied, row.x);
    return;
  }
  TrackCell& start = model.cell(cell_after_position(row.x));
  if (!start.is_free()) {
    record_fault(model, Fault::kSlowdownStartOccupied, row.x);
    return;
  }
  TrackCell& end = model.cell(cell_after_position(int64_t{row.x} + row.l));
  if (!end.is_free()) {
    record_fault(model, Fault::kSlowdownEndOccupied, row.x);
    return;
  }

  // E before S: a slowdown of length 0 leaves its one cell a start.
  end.kind = kSlowdownEnd;
  write_second_value(end, row.d_v);
  start.kind = kSlowdownStart;
  write_second_value(start, row.d_v);
  if (warned) {
    TrackCell& warning = model.cell(cell_after_position(warning_m));
    warning.kind = kSlowdownWarningBoard;
    write_second_value(warning, row.d_v);
    warning.value1 = low16(row.v);
  }
  start.value1 = low16(row.v);
  end.value1 = low16(row.v);
  start.value3 = low16(row.f_tt);
  end.value3 = low16(row.f_tt);

  if (f_ta == 0) return;
  const int64_t b = cell_of_position(warning_m);
  for (int i = 0; i < 4; ++i) {
    if (!model.cell(b - i).is_free()) {
      record_fault(model, Fault::kApproachBoardsOccupied, row.x);
      return;
    }
  }
  for (int i = 0; i < 4; ++i) {
    TrackCell& board = model.cell(b - i);
    board.kind = kApproachBoard;
    board.value1 = static_cast<int16_t>(i + 1);
    if (row.d_v != 0) board.value2 = static_cast<int16_t>(i + 1);
  }
}

RowOutcome read_slowdown_row(ScenarioModel& model, FieldReader& reader) {
  SlowdownRow row;
  for (int32_t* field : {&row.x, &row.v, &row.l, &row.f_tt, &row.f_ta, &row.d_v}) *field = reader.read_long();
  if (beyond_the_cells(model, row.x, kEndMargin_m)) return RowOutcome::kEndReading;
  memo_rallentamento(model, row);
  return fault_exit_if_any_fault(model, row.x);
}

RowOutcome read_code_reduction_row(ScenarioModel& model, FieldReader& reader) {
  const int32_t position = reader.read_long();
  const int32_t value = reader.read_long();
  if (beyond_the_cells(model, position, kEndMargin_m)) return RowOutcome::kEndReading;
  TrackCell& cell = model.cell(cell_of_position(position));
  if (!cell.is_free()) {
    record_fault(model, Fault::kCodeReductionOccupied, position);
    return RowOutcome::kFaultExit;
  }
  if (value > 0) {
    cell.kind = kCodeReduction;
    cell.value1 = low16(value);
  } else {
    cell.kind = kCodeReductionNonPositive;
  }
  return RowOutcome::kNext;
}

}  // namespace scenario
