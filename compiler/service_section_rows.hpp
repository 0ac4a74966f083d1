#pragma once

#include <string_view>

#include "schema/field_reader.hpp"
#include "compiler/fills.hpp"
#include "compiler/row_outcome.hpp"
#include "compiler/stations.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// The reading state of the service source, shared by its rows.
struct ServiceRowContext {
  CompileContext& compile;
  FieldReader& reader;
  CellFill speed;
  CellFill adhesion;
  StationSlots stations;
  int speed_rows = 0;
  int adhesion_rows = 0;
  int station_rows = 0;
};

// The routines that read and place the service rows.
RowOutcome place_braked_mass(ServiceRowContext& context, std::string_view keyword);
RowOutcome place_coaches(ServiceRowContext& context, std::string_view keyword);
RowOutcome place_line_speed(ServiceRowContext& context, std::string_view keyword);
RowOutcome place_adhesion(ServiceRowContext& context, std::string_view keyword);
RowOutcome place_clock(ServiceRowContext& context, std::string_view keyword);
RowOutcome place_sand(ServiceRowContext& context, std::string_view keyword);
RowOutcome place_signal(ServiceRowContext& context, std::string_view keyword);
RowOutcome place_slowdown(ServiceRowContext& context, std::string_view keyword);
RowOutcome place_code_reduction(ServiceRowContext& context, std::string_view keyword);
RowOutcome place_station(ServiceRowContext& context, std::string_view keyword);

}  // namespace scenario
