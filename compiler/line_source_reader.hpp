#pragma once

#include <cstdint>
#include <vector>

#include "compiler/general_section_rows.hpp"
#include "compiler/source_file.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// What the line-source half hands to the service-source half.
struct LineSourceOutcome {
  bool read_service = false;         // the line source ended normally (or with fault 15)
  int32_t board_slot_counter = kFirstBoardTextSlot; // the slot the next indicator-board text would take
  std::vector<KilometrePostRow> kilometre_post_rows;
};

// The first half of the compile: reads the line source into the model. Raises
// RuntimeFailure for the run-time failures that the caller turns into fault 25.
LineSourceOutcome read_line_source(CompileContext& context, SourceFile& line_source);

}  // namespace scenario
