#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/compile_context.hpp"
#include "compiler/row_outcome.hpp"
#include "model/diagnostic.hpp"
#include "model/fault_table.hpp"

namespace scenario {

// The row being compiled, written at `position_m`, has put the item now in cell `c` there.
void note_cell_origin(CompileContext& context, int64_t c, int32_t position_m);

// A note naming what cell `c` holds and the row that put it there, when it is known: "cell 12
// <holds> the signal of this row".
DiagnosticNote note_of_cell_holder(const CompileContext& context, int64_t c, std::string_view holds);

// `fault` at `position_m` for a feature that finds cell `c` taken, with a note that names
// what holds the cell and the row that put it there.
RowFault occupied_cell_fault(const CompileContext& context, Fault fault, int64_t position_m, int64_t c);

}  // namespace scenario
