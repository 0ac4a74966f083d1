#pragma once

#include <cstdint>
#include <string_view>

#include "model/diagnostic.hpp"

#include "model/fault_table.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// The row being compiled has put the item now in cell `c` there.
void note_cell_origin(ScenarioModel& model, int64_t c);

// A note naming what cell `c` holds and the row that put it there: "cell 12 <holds> the
// signal of this row".
DiagnosticNote note_of_cell_holder(const ScenarioModel& model, int64_t c, std::string_view holds);

// Records `fault` at `position_m` for a feature that finds cell `c` taken, with a note that
// names what holds the cell and the row that put it there.
void record_occupied_cell_fault(ScenarioModel& model, Fault fault, int64_t position_m, int64_t c);

}  // namespace scenario
