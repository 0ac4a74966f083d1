#pragma once

#include <cstdint>

#include "compiler/compile_context.hpp"
#include "schema/row_tables.hpp"
#include "schema/row_values.hpp"
#include "compiler/service_rows.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// Stations fill the records from slot 1 upward while indicator-board texts fill them from
// slot 80 downward; the two counters keep them apart.
struct StationSlots {
  int32_t station_counter = 1;     // the slot of the next station
  int32_t board_slot_counter = kFirstBoardTextSlot; // the slot the next indicator-board text would take
};

// The values of a `stazione` row, read as the row schema gives its fields.
using StationValues = RowValues<rows::kStationFields>;

// A `stazione` row, its values taken into the next station slot as they are read. Derives the station area from the type, writes the approach codes and the exit
// marker in the cells, and checks the distance to the previous station and the slots left.
// Faults 8, 9, 24, 22 and 10 end the source at once (what was stored stays); fault 15 ends
// reading normally.
RowOutcome read_station_row(CompileContext& context, StationValues& values, StationSlots& slots);

}  // namespace scenario
