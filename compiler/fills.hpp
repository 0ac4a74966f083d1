#pragma once

#include <cstdint>
#include <optional>

#include "compiler/compile_context.hpp"
#include "model/source_place.hpp"
#include "compiler/service_rows.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// Which per-cell value a fill writes.
enum class FillTarget {
  kSpeedLimit,  // km/h divided by 5, rounded half to even; a result above 255 is a run-time failure
  kAdhesion,    // the value's low 8 bits
};

// One cell fill of the service source (line speed or adhesion): a row's value holds from its
// position onwards, so each row writes the previous value into the cells up to its own.
// Before the first row the current value is 0.
struct CellFill {
  FillTarget target;
  int64_t cursor = 0;   // the next cell to write
  int32_t current = 0;  // the value of the last row read
  std::optional<SourcePlace> current_place = std::nullopt;  // the field that gave it, for a value its cells cannot hold
};

// A `velocita` or `aderenza` row, its position and its value read (the value at
// `value_place`). Past its bounds test (fault 15, reading ends), the current value is written
// from the cursor up to the cell before the position's cell, at least once when that cell is
// above 0 and never at or past the last cell; then the row's value becomes the current one.
RowOutcome place_fill_row(CompileContext& context, CellFill& fill, int32_t position, int32_t value,
                          const SourcePlace& value_place);

// The end of reading: the current value is written from the cursor on, at least once, until
// the cursor reaches last_cell − 2 (never past the last cell).
void complete_fill(ScenarioModel& model, CellFill& fill);

}  // namespace scenario
