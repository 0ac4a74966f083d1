#pragma once

#include <cstdint>
#include <string_view>

#include "schema/row_schema.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// Warns at `place` when `written` lies outside the documented range of `field`, saying what
// the file holds instead ("gradient 200 ‰ is outside -100…155: the file holds -56 ‰").
// Changes nothing in the model: the value is stored as the field's rule says.
void warn_if_outside_range(const CompileContext& context, const RowField& field, int64_t written, int64_t held,
                           const SourcePlace& place);
// The same, with what the file holds in words ("no curve").
void warn_if_outside_range(const CompileContext& context, const RowField& field, int64_t written, std::string_view held,
                           const SourcePlace& place);

}  // namespace scenario
