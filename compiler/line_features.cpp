#include "compiler/line_features.hpp"

#include "compiler/mountain_stretches.hpp"
#include "compiler/plan_curves.hpp"
#include "compiler/track_bounds.hpp"
#include "compiler/source_warnings.hpp"
#include "model/rounding.hpp"
#include "model/runtime_failure.hpp"
#include "compiler/fault_recording.hpp"
#include "model/fault_table.hpp"

namespace scenario {

LineFeatures::LineFeatures(CompileContext& context) : context_(context), model_(context.model) {
  if (!model_.cells_dimensioned()) throw RuntimeFailure("line source without a route length");
  model_.mountain_count = 0;
  if (model_.plan_mode != 0) model_.line_plan.set_starting_points();
}

std::optional<RowFault> LineFeatures::beyond_cells(int32_t position) { return beyond_the_cells(context_, position, kEndMargin_m); }

void LineFeatures::write_gradient_at_cursor() {
  if (gradient_cursor_ <= model_.last_cell)
    model_.cell(gradient_cursor_).gradient = low8(int64_t{current_gradient_} + kGradientBias);
  ++gradient_cursor_;
}

RowOutcome LineFeatures::gradient_row(int32_t position, int32_t gradient) {
  if (auto beyond = beyond_cells(position)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_of(context_, position);
  // The fill up to the row's cell writes at least once, even when the cursor is already
  // there, so a row that does not move forward still advances the cursor by one cell.
  const int64_t up_to = cell_of_position(position);
  if (up_to > 0) {
    do write_gradient_at_cursor();
    while (gradient_cursor_ < up_to);
  }
  current_gradient_ = gradient;
  return RowOutcome::next_row();
}

RowOutcome LineFeatures::curve_row(std::string_view keyword, int32_t position, int32_t length) {
  if (auto beyond = beyond_cells(position)) return RowOutcome::end_reading(std::move(*beyond));
  const std::optional<double> curvature = curvature_of(keyword);
  if (!curvature) {
    return RowOutcome::stop({Fault::kCurve});
  }
  LinePlan& plan = model_.line_plan;
  if (!extend_plan_through(plan, position, 0.0, true) ||
      !extend_plan_through(plan, int64_t{position} + length, *curvature, true)) {
    return RowOutcome::stop({Fault::kCurve});
  }
  return RowOutcome::next_row();
}

RowOutcome LineFeatures::mountain_row(int32_t start, int32_t end, int32_t type) {
  if (auto beyond = beyond_cells(start)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_of(context_, start);
  // The stretch ends where its last cell ends.
  warn_if_moved(context_, end, kCellLength_m * (divide_round_half_even(int64_t{end} - kCellLength_m, kCellLength_m) + 1));
  memo_montagna(model_, start, end, type);
  return RowOutcome::next_row();
}

RowOutcome LineFeatures::speed_limit_board_row(const SpeedLimitBoardRow& row) {
  if (auto beyond = beyond_cells(row.posizione)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_after(context_, row.posizione);
  if (auto taken = memo_indicatori_v_max(context_, row)) return RowOutcome::stop(std::move(*taken));
  return RowOutcome::next_row();
}

RowOutcome LineFeatures::indicator_board_row(int32_t position, std::string_view text) {
  if (auto beyond = beyond_cells(position)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_after(context_, position);
  if (auto taken = place_indicator_board(context_, position, text, board_slot_counter_))
    return RowOutcome::stop(std::move(*taken));
  return RowOutcome::next_row();
}

void LineFeatures::complete() {
  do write_gradient_at_cursor();
  while (gradient_cursor_ < int64_t{model_.last_cell} - 2);
  if (model_.plan_mode != 0)
    extend_plan_through(model_.line_plan, int64_t{model_.route_extent_m} - 2, 0.0, false);
}

}  // namespace scenario
