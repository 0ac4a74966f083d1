#pragma once

#include "compiler/compile_context.hpp"
#include "schema/field_reader.hpp"
#include "schema/row_schema.hpp"

namespace scenario {

// Warns of each relation that the row just read as `matched` (null: no row) breaks, from the
// fields the reader read behind its keyword. Changes nothing in the model.
void warn_of_broken_relations(CompileContext& context, const FieldReader& reader, const RowText* matched);

// The number a field read as a number holds, from its text as written ("" reads 0).
int64_t written_number(std::string_view text);

}  // namespace scenario
