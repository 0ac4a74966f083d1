#pragma once

#include <string_view>

#include "schema/field_reader.hpp"
#include "compiler/line_features.hpp"
#include "compiler/row_outcome.hpp"
#include "compiler/compile_context.hpp"
#include "schema/row_tables.hpp"
#include "schema/row_values.hpp"

namespace scenario {

// What the rows of the main section of the line source share while it is read.
struct MainRowContext {
  CompileContext& compile;
  FieldReader& reader;
  LineFeatures& features;
};

// The values of the main rows, read as the row schema gives their fields.
using GradientValues = RowValues<rows::kGradientFields>;
using CurveValues = RowValues<rows::kCurveFields>;
using MountainValues = RowValues<rows::kMountainFields>;
using SpeedLimitBoardValues = RowValues<rows::kSpeedLimitBoardFields>;
using IndicatorBoardValues = RowValues<rows::kIndicatorBoardFields>;

// The routines that place the main rows from their values.
RowOutcome place_gradient(MainRowContext& context, std::string_view keyword, GradientValues& row);
// Without a plan a curve row takes none of its values: its fields are read as fields that
// match nothing, as meant.
RowOutcome place_curve(MainRowContext& context, std::string_view keyword, CurveValues& row);
RowOutcome place_mountain(MainRowContext& context, std::string_view keyword, MountainValues& row);
RowOutcome place_speed_limit_boards(MainRowContext& context, std::string_view keyword, SpeedLimitBoardValues& row);
RowOutcome place_indicator_board_row(MainRowContext& context, std::string_view keyword, IndicatorBoardValues& row);

}  // namespace scenario
