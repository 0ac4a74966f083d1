#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "schema/field_reader.hpp"
#include "model/fault_table.hpp"
#include "compiler/compile_context.hpp"
#include "compiler/row_outcome.hpp"
#include "schema/row_schema.hpp"
#include "schema/row_tables.hpp"
#include "schema/row_values.hpp"

namespace scenario {

// A kilometre-post row as read, and where: a fault of its values is found only once the
// service source has been read.
struct KilometrePostRow {
  int32_t position = 0;
  int32_t offset = 0;
  int32_t direction = 0;
  SourcePlace place;
};

// What the rows of the general section of the line source share while it is read.
struct GeneralRowContext {
  CompileContext& compile;
  FieldReader& reader;
  std::vector<KilometrePostRow>& kilometre_post_rows;
};

// The values of the general rows, read as the row schema gives their fields.
using RouteLengthValues = RowValues<rows::kRouteLengthFields>;
using KilometrePostValues = RowValues<rows::kKilometrePostFields>;
using BackgroundValues = RowValues<rows::kBackgroundFields>;
using SignalRepetitionValues = RowValues<rows::kSignalRepetitionFields>;

// The routines that place the general rows from their values.
RowOutcome place_route_length(GeneralRowContext& context, std::string_view keyword, RouteLengthValues& row);
// "tre" into slot 81, "due" into 82, "uno" into 83; progressive_ordina reorders them.
RowOutcome place_kilometre_post_tre(GeneralRowContext& context, std::string_view keyword, KilometrePostValues& row);
RowOutcome place_kilometre_post_due(GeneralRowContext& context, std::string_view keyword, KilometrePostValues& row);
RowOutcome place_kilometre_post_uno(GeneralRowContext& context, std::string_view keyword, KilometrePostValues& row);
RowOutcome place_background_uno(GeneralRowContext& context, std::string_view keyword, BackgroundValues& row);
RowOutcome place_background_due(GeneralRowContext& context, std::string_view keyword, BackgroundValues& row);
RowOutcome place_background_tre(GeneralRowContext& context, std::string_view keyword, BackgroundValues& row);
// The digit 4 or 9 of the keyword is the number of codes.
RowOutcome place_signal_repetition(GeneralRowContext& context, std::string_view keyword,
                                   SignalRepetitionValues& row);

}  // namespace scenario
