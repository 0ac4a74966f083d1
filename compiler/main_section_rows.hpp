#pragma once

#include <string_view>

#include "schema/field_reader.hpp"
#include "compiler/line_features.hpp"
#include "compiler/row_outcome.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// What the rows of the main section of the line source share while it is read.
struct MainRowContext {
  CompileContext& compile;
  FieldReader& reader;
  LineFeatures& features;
};

// The routines that read and place the main rows.
RowOutcome place_gradient(MainRowContext& context, std::string_view keyword);
// Without a plan a curve row is read as fields that match nothing, as meant.
RowOutcome place_curve(MainRowContext& context, std::string_view keyword);
RowOutcome place_mountain(MainRowContext& context, std::string_view keyword);
RowOutcome place_speed_limit_boards(MainRowContext& context, std::string_view keyword);
RowOutcome place_indicator_board(MainRowContext& context, std::string_view keyword);

}  // namespace scenario
