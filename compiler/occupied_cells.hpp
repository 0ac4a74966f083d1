#pragma once

#include <cstdint>

#include "compiler/compile_context.hpp"
#include "model/fault_table.hpp"

namespace scenario {

// The row being compiled, written at `position_m`, has put the item now in cell `c` there.
void note_cell_origin(CompileContext& context, int64_t c, int32_t position_m);

// The note for a fault that needed cell `c` and found it taken: what holds the cell, and
// the row that put it there when it is known.
DiagnosticNote occupied_cell_note(const CompileContext& context, int64_t c);

// Records `fault` at `position_m` for a feature that finds cell `c` taken, with a note that
// names what holds the cell and the row that put it there.
void record_occupied_cell_fault(CompileContext& context, Fault fault, int64_t position_m, int64_t c);

}  // namespace scenario
