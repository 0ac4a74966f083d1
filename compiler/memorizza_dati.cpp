#include "compiler/memorizza_dati.hpp"

#include "compiler/line_source_reader.hpp"
#include "compiler/service_source_reader.hpp"
#include "compiler/source_check.hpp"
#include "model/runtime_failure.hpp"
#include "model/fault_record.hpp"
#include "model/fault_table.hpp"

namespace scenario {

void memorizza_dati(ScenarioModel& model, SourceFile& line_source, SourceFile& service_source) {
  bool service_read = false;
  try {
    const LineSourceOutcome line = read_line_source(model, line_source);
    service_read = line.read_service;
    if (line.read_service) read_service_source(model, service_source, line.board_slot_counter, line.kilometre_post_rows);
    else
      check_unread_service_source(model, service_source, model.error_code);
  } catch (const RuntimeFailure& failure) {
    // One choice for the whole compiler: every index outside `cells`, `line_plan`,
    // `sim_records` or the mountain arrays, every 32-bit overflow, every number that does
    // not fit its field and every read past the end of a source is a RuntimeFailure, caught
    // here once and recorded as fault 25; both sources are dropped. Nothing is ever written
    // outside an array, and what the failing row wrote before the failure stays. Only the
    // fills stop at the last cell instead of failing.
    record_runtime_failure(model, failure);
    model.row_place.reset();
    if (!service_read) check_unread_service_source(model, service_source, model.error_code);
    line_source.discard();
    service_source.discard();
  }
  model.row_place.reset();
  // The places point into the sources, which end with the compile unless the caller keeps them.
  if (!model.keep_cell_origins) model.cell_origins.clear();
}

}  // namespace scenario
