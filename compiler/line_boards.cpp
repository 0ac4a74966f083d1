#include "compiler/line_boards.hpp"

#include "schema/row_values.hpp"
#include "format/compiled_files.hpp"
#include "compiler/occupied_cells.hpp"
#include "compiler/track_bounds.hpp"
#include "model/rounding.hpp"
#include "model/runtime_failure.hpp"
#include "compiler/fault_recording.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

// Left speed in the hundreds, right speed in the units, both in speed units.
int16_t packed_speeds(int32_t left_kmh, int32_t right_kmh) {
  return checked_int16(divide_round_half_even(kBoardSideScale * left_kmh + right_kmh, kSpeedUnit_kmh),
                       "packed board speed does not fit 16 bits");
}

// 10 × left stripes + right stripes, every step on 16 bits.
int16_t packed_stripes(int32_t left, int32_t right) {
  const char* what = "board stripes do not fit 16 bits";
  const int16_t tens = checked_int16(kStripeSideScale * checked_int16(left, what), what);
  return checked_int16(int64_t{tens} + checked_int16(right, what), what);
}

}  // namespace

std::optional<RowFault> memo_indicatori_v_max(CompileContext& context, const SpeedLimitBoardRow& row) {
  const int64_t c = cell_after_position(row.posizione);
  if (c < 0)
    throw before_route_start("speed-limit boards", row.posizione, "their cell lies", "a pair of speed-limit boards",
                             lowest_position_after_cell(0));
  TrackCell& cell = context.model.cell(c);
  if (!cell.is_free()) {
    return occupied_cell_fault(context, Fault::kSpeedLimitBoardOccupied, row.posizione, c);
  }
  cell.kind = RowValues<rows::kSpeedLimitBoardFields>::cell_kind(kSpeedLimitBoards);
  note_cell_origin(context, c, row.posizione);
  cell.value1 = packed_speeds(row.vas, row.vad);
  cell.value2 = packed_speeds(row.vbs, row.vbd);
  cell.value3 = packed_speeds(row.vcs, row.vcd);
  cell.value4 = packed_stripes(row.strisces, row.strisced);
  return std::nullopt;
}

std::optional<RowFault> place_indicator_board(CompileContext& context, int32_t position, std::string_view text,
                                              int32_t& board_slot_counter) {
  ScenarioModel& model = context.model;
  const int64_t c = cell_after_position(position);
  if (c < 0)
    throw before_route_start("indicator board", position, "its cell lies", "an indicator board",
                             lowest_position_after_cell(0));
  TrackCell& cell = model.cell(c);
  if (!cell.is_free()) {
    return occupied_cell_fault(context, Fault::kIndicatorBoardOccupied, position, c);
  }
  // Slot 0 is never filled: the 81st board has no slot left.
  if (board_slot_counter < 1) throw RuntimeFailure("more than 80 indicator boards");
  SimRecord& slot = model.record(board_slot_counter);
  if (text.size() > kMaxRecordTextBytes) throw RuntimeFailure("indicator board text longer than 65535 bytes");
  cell.kind = RowValues<rows::kIndicatorBoardFields>::cell_kind(kIndicatorBoard);
  note_cell_origin(context, c, position);
  cell.value1 = checked_int16(board_slot_counter, "board slot");
  slot.text = text;
  --board_slot_counter;
  return std::nullopt;
}

}  // namespace scenario
