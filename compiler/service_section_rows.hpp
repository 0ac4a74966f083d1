#pragma once

#include <string_view>

#include "schema/field_reader.hpp"
#include "compiler/fills.hpp"
#include "compiler/row_outcome.hpp"
#include "compiler/stations.hpp"
#include "compiler/compile_context.hpp"
#include "compiler/signals.hpp"
#include "compiler/slowdowns.hpp"
#include "schema/row_tables.hpp"
#include "schema/row_values.hpp"

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

// The values of the service rows placed here, read as the row schema gives their fields (the
// signal's, the slowdown's, the code reduction's and the station's stand beside their
// routines).
using BrakedMassValues = RowValues<rows::kBrakedMassFields>;
using CoachesValues = RowValues<rows::kCoachesFields>;
using LineSpeedValues = RowValues<rows::kLineSpeedFields>;
using AdhesionValues = RowValues<rows::kAdhesionFields>;
using ClockValues = RowValues<rows::kClockFields>;
using SandValues = RowValues<rows::kSandFields>;

// The routines that place the service rows from their values.
RowOutcome place_braked_mass(ServiceRowContext& context, std::string_view keyword, BrakedMassValues& row);
RowOutcome place_coaches(ServiceRowContext& context, std::string_view keyword, CoachesValues& row);
RowOutcome place_line_speed(ServiceRowContext& context, std::string_view keyword, LineSpeedValues& row);
RowOutcome place_adhesion(ServiceRowContext& context, std::string_view keyword, AdhesionValues& row);
RowOutcome place_clock(ServiceRowContext& context, std::string_view keyword, ClockValues& row);
RowOutcome place_sand(ServiceRowContext& context, std::string_view keyword, SandValues& row);
RowOutcome place_signal(ServiceRowContext& context, std::string_view keyword, SignalValues& row);
RowOutcome place_slowdown(ServiceRowContext& context, std::string_view keyword, SlowdownValues& row);
RowOutcome place_code_reduction(ServiceRowContext& context, std::string_view keyword, CodeReductionValues& row);
RowOutcome place_station(ServiceRowContext& context, std::string_view keyword, StationValues& row);

}  // namespace scenario
