#include "compiler/memorizza_dati.hpp"

#include "compiler/line_source_reader.hpp"
#include "compiler/service_source_reader.hpp"
#include "model/runtime_failure.hpp"
#include "postpass/fault_record.hpp"
#include "postpass/fault_table.hpp"

namespace scenario {

void memorizza_dati(ScenarioModel& model, SourceFile& line_source, SourceFile& service_source) {
  try {
    const LineSourceOutcome line = read_line_source(model, line_source);
    if (line.read_service) read_service_source(model, service_source, line.board_slot_counter);
  } catch (const RuntimeFailure&) {
    // What the failing row wrote before the failure stays, as it did on the original platform.
    record_fault(model, kFaultRuntimeFailure);
    model.row_place.reset();
    line_source.discard();
    service_source.discard();
  }
  model.row_place.reset();
}

}  // namespace scenario
