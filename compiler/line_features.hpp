#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/line_boards.hpp"
#include "compiler/row_outcome.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// The features of the main section of the line source: gradients, curves, mountain
// stretches, speed-limit boards and indicator boards, with the reading state they share.
// Each row is given its fields as read; it makes the bounds test, then writes the model.
class LineFeatures {
 public:
  // The main-section set-up. The cells must be dimensioned (a line source without a route
  // length is a RuntimeFailure here); with plan_mode non-zero the plan gets its starting
  // points and the plan cursor stands at metre 2.
  explicit LineFeatures(CompileContext& context);

  RowOutcome gradient_row(int32_t position, int32_t gradient);
  // Only called when plan_mode is non-zero.
  RowOutcome curve_row(std::string_view keyword, int32_t position, int32_t length);
  RowOutcome mountain_row(int32_t start, int32_t end, int32_t type);
  RowOutcome speed_limit_board_row(const SpeedLimitBoardRow& row);
  RowOutcome indicator_board_row(int32_t position, std::string_view text);

  // At the end of reading (also after fault 15): the gradient up to cell last_cell - 3 at
  // least, then, with a plan, the plan straight on up to metre route_extent_m - 2.
  void complete();

  int64_t gradient_cursor() const { return gradient_cursor_; }
  int32_t current_gradient() const { return current_gradient_; }
  int32_t board_slot_counter() const { return board_slot_counter_; }

 private:
  // Fault 15 at `position` when position + 100 > 50 × last_cell.
  std::optional<RowFault> beyond_cells(int32_t position);
  // The current gradient into the cell at the cursor, which then advances. Past the last
  // cell nothing is written: rows that do not move forward can push the cursor there.
  void write_gradient_at_cursor();

  CompileContext& context_;
  ScenarioModel& model_;
  int64_t gradient_cursor_ = 0;
  int32_t current_gradient_ = 0;
  int32_t board_slot_counter_ = kFirstBoardTextSlot;
};

}  // namespace scenario
