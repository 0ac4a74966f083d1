#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "compiler/compile_context.hpp"
#include "compiler/row_outcome.hpp"

namespace scenario {

// The nine numbers of a speed-limit board row: position, then the left board's speeds for
// trains of rank A, B, C and its stripes, then the same for the right board.
struct SpeedLimitBoardRow {
  int32_t posizione = 0;
  int32_t vas = 0, vbs = 0, vcs = 0, strisces = 0;
  int32_t vad = 0, vbd = 0, vcd = 0, strisced = 0;
};

// Places the speed-limit boards in the cell after `posizione`. A cell that is taken (not
// free) gives fault 21 at the position and places nothing. Each speed value packs the
// left speed in hundreds and the right one in units of 5 km/h; a value that does not fit
// signed 16 bits is a RuntimeFailure at that value, the fields written before it staying.
std::optional<RowFault> memo_indicatori_v_max(CompileContext& context, const SpeedLimitBoardRow& row);

// Places an indicator board with its text in the cell after `position`, its text going to
// slot `board_slot_counter`, which then goes down by one. A cell that is taken gives
// fault 6 at the position and places nothing. An 81st board, or a text too long for the
// records file, is a RuntimeFailure before anything is written.
std::optional<RowFault> place_indicator_board(CompileContext& context, int32_t position, std::string_view text,
                                              int32_t& board_slot_counter);

}  // namespace scenario
