#pragma once

#include <cstdint>
#include <string_view>

#include "schema/field_reader.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// Warnings of a source as a whole and of where its features land. None of them changes
// the model.

// A quoted text that runs over line ends (an unbalanced quote swallows what follows).
void warn_of_texts_over_lines(const CompileContext& context, FieldReader& reader);

// A source that looks like UTF-8 with letters outside ASCII: it is read as Windows-1252,
// each such letter as two or three characters.
void warn_if_utf8(const CompileContext& context, const FieldReader& reader, std::string_view text);

// A feature written at `written_m` that the compiler places as if at `compiled_m`: its
// position is not on the boundary of the 50 m cell it lands in.
void warn_if_moved(const CompileContext& context, int64_t written_m, int64_t compiled_m);
// The same for a feature in the cell of its position (fills, code reductions)...
void warn_if_off_cell_of(const CompileContext& context, int64_t written_m);
// ... and for one in the cell after it (signals, boards, slowdowns).
void warn_if_off_cell_after(const CompileContext& context, int64_t written_m);

// A fill row (gradient, line speed, adhesion) at `position_m`, whose cell is `own_cell`, whose
// value begins at `begins_cell` because an earlier row reached that far: rows apply in the
// order they are written. Nothing when the two cells agree.
void warn_if_fill_out_of_order(const CompileContext& context, std::string_view keyword, int64_t position_m,
                               int64_t own_cell, int64_t begins_cell);

}  // namespace scenario
