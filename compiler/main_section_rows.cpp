#include "compiler/main_section_rows.hpp"

#include "compiler/field_ranges.hpp"
#include "compiler/mountain_stretches.hpp"
#include "compiler/source_warnings.hpp"
#include "format/compiled_files.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"

namespace scenario {

RowOutcome place_gradient(MainRowContext& context, std::string_view) {
  static const RowField& kGradient = row_field("pendenza", "gradient");
  const int32_t position = context.reader.read_long();
  const int32_t gradient = context.reader.read_long();
  const SourcePlace at = context.reader.last_field_place();
  const RowOutcome outcome = context.features.gradient_row(position, gradient);
  if (outcome.goes_on())
    warn_if_fill_out_of_order(context.compile, "pendenza", position, cell_of_position(position),
                              context.features.gradient_cursor());
  if (outcome.goes_on())
    warn_if_outside_range(context.compile, kGradient, gradient,
                          gradient_per_mille(low8(int64_t{gradient} + kGradientBias)), at);
  return outcome;
}

RowOutcome place_curve(MainRowContext& context, std::string_view keyword) {
  if (context.compile.model.plan_mode == 0) return RowOutcome::next_row();
  static const RowField& kLength = row_field("curvad1", "length");
  const int32_t position = context.reader.read_long();
  const int32_t length = context.reader.read_long();
  const SourcePlace at = context.reader.last_field_place();
  const RowOutcome outcome = context.features.curve_row(keyword, position, length);
  // A curve that ends before it begins turns no metre of the plan.
  if (outcome.goes_on()) warn_if_outside_range(context.compile, kLength, length, "no curve", at);
  return outcome;
}

RowOutcome place_mountain(MainRowContext& context, std::string_view) {
  static const RowField& kType = row_field("montagna", "type");
  const int32_t start = context.reader.read_long();
  const int32_t end = context.reader.read_long();
  const int32_t type = context.reader.read_long();
  const SourcePlace at = context.reader.last_field_place();
  const RowOutcome outcome = context.features.mountain_row(start, end, type);
  if (outcome.goes_on())
    warn_if_outside_range(context.compile, kType, type, low8(type > kMarkerTypeOffset ? int64_t{type} - kMarkerTypeOffset : type), at);
  return outcome;
}

RowOutcome place_speed_limit_boards(MainRowContext& context, std::string_view) {
  SpeedLimitBoardRow row;
  for (int32_t* field : {&row.posizione, &row.vas, &row.vbs, &row.vcs, &row.strisces, &row.vad, &row.vbd, &row.vcd,
                         &row.strisced})
    *field = context.reader.read_long();
  return context.features.speed_limit_board_row(row);
}

RowOutcome place_indicator_board(MainRowContext& context, std::string_view) {
  const int32_t position = context.reader.read_long();
  return context.features.indicator_board_row(position, context.reader.read_text(kMaxRecordTextBytes));
}

}  // namespace scenario
