#pragma once

#include <cstdint>

#include "compiler/compile_context.hpp"
#include "schema/field_reader.hpp"
#include "compiler/service_rows.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// Stations fill the records from slot 1 upward while indicator-board texts fill them from
// slot 80 downward; the two counters keep them apart.
struct StationSlots {
  int32_t station_counter = 1;     // the slot of the next station
  int32_t board_slot_counter = kFirstBoardTextSlot; // the slot the next indicator-board text would take
};

// A `stazione` row: position (L), type (B), length (L), p4 p5 p6 (B), p7 p8 (I), p9 (B),
// p10 p11 p12 (I), p13 (B), hours minutes seconds (L), name (T), read into the next station
// slot. Derives the station area from the type, writes the approach codes and the exit
// marker in the cells, and checks the distance to the previous station and the slots left.
// Faults 8, 9, 24, 22 and 10 end the source at once (what was stored stays); fault 15 ends
// reading normally.
RowOutcome read_station_row(CompileContext& context, FieldReader& reader, StationSlots& slots);

}  // namespace scenario
