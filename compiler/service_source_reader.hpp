#pragma once

#include <cstdint>
#include <vector>

#include "compiler/line_source_reader.hpp"
#include "compiler/source_file.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// The second half of the compile: reads the service source into the model. Raises
// RuntimeFailure for the run-time failures that the caller turns into fault 25.
// `kilometre_post_rows`: the kilometre-post rows of the line source, whose values are
// checked at the end.
void read_service_source(CompileContext& context, SourceFile& service_source, int32_t board_slot_counter,
                         const std::vector<KilometrePostRow>& kilometre_post_rows = {});

}  // namespace scenario
