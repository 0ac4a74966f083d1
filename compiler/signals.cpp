#include "compiler/signals.hpp"

#include "compiler/field_ranges.hpp"
#include "compiler/occupied_cells.hpp"
#include "compiler/source_warnings.hpp"
#include "compiler/track_bounds.hpp"
#include "model/approach_codes.hpp"
#include "model/rounding.hpp"
#include "compiler/fault_recording.hpp"
#include "model/fault_table.hpp"

namespace scenario {
namespace {

// The approach codes go as far as this many cells in front of the signal's own.
const int64_t kCellsInFrontOfSignal = -signal_approach_cell(0, kApproachCodeCount);

// Fails where the first cell the signal needs lies before the first track cell, once the
// cells behind it are written.
void fail_if_before_route_start(int64_t cell, int32_t posizione) {
  if (cell >= 0) return;
  throw before_route_start("signal", posizione,
                           "its approach codes need the cells up to " +
                               std::to_string(kCellLength_m * kCellsInFrontOfSignal) +
                               " m in front of its cell, which begin",
                           "a signal", lowest_position_after_cell(kCellsInFrontOfSignal));
}

}  // namespace

std::optional<RowFault> memo_segnale(CompileContext& context, SignalRow& row) {
  ScenarioModel& model = context.model;
  const int64_t c = cell_after_position(row.posizione);
  fail_if_before_route_start(c, row.posizione);
  TrackCell& cell = model.cell(c);
  if (!cell.is_free()) {
    return occupied_cell_fault(context, Fault::kSignalOccupied, row.posizione, c);
  }
  // Every product and sum is exact in 64 bits; the cell keeps the low 16 bits.
  const int64_t aspect_code = int64_t{row.sx} * 3 + row.dx;
  cell.kind = SignalValues::cell_kind(kSignal);
  note_cell_origin(context, c, row.posizione);
  cell.value4 = low16(int64_t{row.rapp} * 10 + aspect_code);
  cell.value1 = low16(int64_t{row.s1} * 10 + row.d1);
  cell.value2 = low16(int64_t{row.s2} * 10 + row.d2);
  cell.value3 = low16(int64_t{row.s3} * 10 + row.d3);

  if (row.tempo >= 1 && row.tempo <= 100) row.tempo = 101;
  cell.signal_time = row.sx == 2 ? low8(row.tempo) : 0;

  for (int k = 1; k <= kApproachCodeCount; ++k) {
    const int64_t a = signal_approach_cell(c, k);
    fail_if_before_route_start(a, row.posizione);
    model.cell(a).approach = signal_approach_code(aspect_code, k);
  }
  return std::nullopt;
}

RowOutcome read_signal_row(CompileContext& context, SignalValues& values) {
  using Field = rows::SignalField;
  values.read_all();
  SignalRow row{.posizione = values.get<Field::kPosition>(),
                .sx = values.get<Field::kSx>(),
                .s1 = values.get<Field::kS1>(),
                .s2 = values.get<Field::kS2>(),
                .s3 = values.get<Field::kS3>(),
                .rapp = values.get<Field::kRapp>(),
                .dx = values.get<Field::kDx>(),
                .d1 = values.get<Field::kD1>(),
                .d2 = values.get<Field::kD2>(),
                .d3 = values.get<Field::kD3>(),
                .tempo = values.get<Field::kTime>()};
  const SourcePlace time_place = values.place<Field::kTime>();
  if (auto beyond = beyond_the_cells(context, row.posizione, kEndMargin_m)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_after(context, row.posizione);
  if (row.sx == 2) {
    const int64_t stored = row.tempo >= 1 && row.tempo <= 100 ? 101 : row.tempo;
    warn_if_outside_range(context, values.field<Field::kTime>(), row.tempo, low8(stored), time_place);
  }
  return stop_if_any_fault(context, row.posizione, memo_segnale(context, row));
}

}  // namespace scenario
