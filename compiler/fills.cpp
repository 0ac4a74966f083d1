#include "compiler/fills.hpp"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/source_warnings.hpp"
#include "compiler/fault_recording.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {
namespace {

// The byte a fill writes into its cells, the same for every cell: a line speed whose code
// does not fit its byte fails here, before any cell is written.
uint8_t byte_of(const CellFill& fill) {
  if (fill.target == FillTarget::kAdhesion) return low8(fill.current);
  const int64_t speed_code = divide_round_half_even(fill.current, kSpeedUnit_kmh);
  if (speed_code < 0 || speed_code > 255)
    throw RuntimeFailure("line speed " + std::to_string(fill.current) + " km/h does not fit its byte (0 to 1277 km/h)",
                         fill.current_place);
  return static_cast<uint8_t>(speed_code);
}

uint8_t TrackCell::*field_of(FillTarget target) {
  return target == FillTarget::kAdhesion ? &TrackCell::adhesion : &TrackCell::speed_limit;
}

void write_current(ScenarioModel& model, const CellFill& fill) { model.cell(fill.cursor).*field_of(fill.target) = byte_of(fill); }

std::string_view keyword_of(FillTarget target) { return target == FillTarget::kAdhesion ? "aderenza" : "velocita"; }

}  // namespace

RowOutcome place_fill_row(CompileContext& context, CellFill& fill, int32_t position, int32_t value,
                          const SourcePlace& value_place) {
  ScenarioModel& model = context.model;
  if (auto beyond = beyond_the_cells(context, position, kEndMargin_m)) return RowOutcome::end_reading(std::move(*beyond));
  warn_if_off_cell_of(context, position);

  const int64_t n = cell_of_position(position);
  if (n > 0) {
    // At least one write, even when the cursor already stands at or past n.
    do {
      if (fill.cursor >= model.last_cell) break;
      write_current(model, fill);
      ++fill.cursor;
    } while (fill.cursor < n);
  }
  warn_if_fill_out_of_order(context, keyword_of(fill.target), position, n, fill.cursor);
  fill.current = value;
  fill.current_place = value_place;
  return RowOutcome::next_row();
}

void complete_fill(ScenarioModel& model, CellFill& fill) {
  if (fill.cursor > model.last_cell) return;
  // At least one write. The byte is worked out once and the stretch checked once: a route
  // of a thousand kilometres is twenty thousand cells.
  const int64_t end = std::max(fill.cursor + 1, int64_t{model.last_cell} - 2);
  TrackCell* cell = &model.cell(fill.cursor);
  const uint8_t byte = byte_of(fill);
  model.cell(end - 1);  // the cells run to last_cell, so the whole stretch lies in them
  uint8_t TrackCell::*const field = field_of(fill.target);
  for (; fill.cursor < end; ++fill.cursor, ++cell) (*cell).*field = byte;
}

}  // namespace scenario
