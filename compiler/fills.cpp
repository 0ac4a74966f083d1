#include "compiler/fills.hpp"

#include <string>
#include <string_view>

#include "compiler/source_warnings.hpp"
#include "compiler/fault_recording.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {
namespace {

void write_current(ScenarioModel& model, const CellFill& fill) {
  TrackCell& cell = model.cell(fill.cursor);
  if (fill.target == FillTarget::kAdhesion) {
    cell.adhesion = low8(fill.current);
    return;
  }
  const int64_t speed_code = divide_round_half_even(fill.current, kSpeedUnit_kmh);
  if (speed_code < 0 || speed_code > 255)
    throw RuntimeFailure("line speed " + std::to_string(fill.current) + " km/h does not fit its byte (0 to 1277 km/h)",
                         fill.current_place);
  cell.speed_limit = static_cast<uint8_t>(speed_code);
}

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
  do {
    if (fill.cursor > model.last_cell) break;
    write_current(model, fill);
    ++fill.cursor;
  } while (fill.cursor < static_cast<int64_t>(model.last_cell) - 2);
}

}  // namespace scenario
