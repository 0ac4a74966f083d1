#include "compiler/main_section_rows.hpp"

#include "compiler/field_ranges.hpp"
#include "compiler/mountain_stretches.hpp"
#include "compiler/source_warnings.hpp"
#include "format/compiled_files.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"

namespace scenario {

using rows::CurveField;
using rows::GradientField;
using rows::IndicatorBoardField;
using rows::MountainField;
using rows::SpeedLimitBoardField;

RowOutcome place_gradient(MainRowContext& context, std::string_view, GradientValues& row) {
  const int32_t position = row.get<GradientField::kPosition>();
  const int32_t gradient = row.get<GradientField::kGradient>();
  const SourcePlace at = row.place<GradientField::kGradient>();
  const RowOutcome outcome = context.features.gradient_row(position, gradient);
  if (outcome.goes_on())
    warn_if_fill_out_of_order(context.compile, "pendenza", position, cell_of_position(position),
                              context.features.gradient_cursor());
  if (outcome.goes_on())
    warn_if_outside_range(context.compile, row.field<GradientField::kGradient>(), gradient,
                          gradient_per_mille(low8(int64_t{gradient} + kGradientBias)), at);
  return outcome;
}

RowOutcome place_curve(MainRowContext& context, std::string_view keyword, CurveValues& row) {
  if (context.compile.model.plan_mode == 0) return RowOutcome::next_row();
  const int32_t position = row.get<CurveField::kPosition>();
  const int32_t length = row.get<CurveField::kLength>();
  const SourcePlace at = row.place<CurveField::kLength>();
  const RowOutcome outcome = context.features.curve_row(keyword, position, length);
  // A curve that ends before it begins turns no metre of the plan.
  if (outcome.goes_on()) warn_if_outside_range(context.compile, row.field<CurveField::kLength>(), length, "no curve", at);
  return outcome;
}

RowOutcome place_mountain(MainRowContext& context, std::string_view, MountainValues& row) {
  const int32_t start = row.get<MountainField::kStart>();
  const int32_t end = row.get<MountainField::kEnd>();
  const int32_t type = row.get<MountainField::kType>();
  const SourcePlace at = row.place<MountainField::kType>();
  const RowOutcome outcome = context.features.mountain_row(start, end, type);
  if (outcome.goes_on())
    warn_if_outside_range(context.compile, row.field<MountainField::kType>(), type,
                          low8(type > kMarkerTypeOffset ? int64_t{type} - kMarkerTypeOffset : type), at);
  return outcome;
}

RowOutcome place_speed_limit_boards(MainRowContext& context, std::string_view, SpeedLimitBoardValues& row) {
  using Field = SpeedLimitBoardField;
  row.read_all();
  return context.features.speed_limit_board_row({.posizione = row.get<Field::kPosition>(),
                                                 .vas = row.get<Field::kLeftA>(),
                                                 .vbs = row.get<Field::kLeftB>(),
                                                 .vcs = row.get<Field::kLeftC>(),
                                                 .strisces = row.get<Field::kLeftStripes>(),
                                                 .vad = row.get<Field::kRightA>(),
                                                 .vbd = row.get<Field::kRightB>(),
                                                 .vcd = row.get<Field::kRightC>(),
                                                 .strisced = row.get<Field::kRightStripes>()});
}

RowOutcome place_indicator_board_row(MainRowContext& context, std::string_view, IndicatorBoardValues& row) {
  const int32_t position = row.get<IndicatorBoardField::kPosition>();
  return context.features.indicator_board_row(position, row.get<IndicatorBoardField::kText>());
}

}  // namespace scenario
