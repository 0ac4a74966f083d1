#include "postpass/fault_record.hpp"

#include "postpass/fault_table.hpp"

namespace scenario {
namespace {

void tell(ScenarioModel& model, RecordedFault fault) {
  if (model.fault_sink == nullptr) return;
  fault.place = model.row_place;
  model.fault_sink->on_fault(fault);
}

}  // namespace

void record_fault(ScenarioModel& model, int number) {
  model.error_code = number;
  tell(model, RecordedFault{number, std::nullopt, std::nullopt, {}});
}

void record_fault(ScenarioModel& model, int number, int64_t position_m) {
  // Positions come from 32-bit fields or from cell × 50, so they always fit.
  model.error_code = number;
  model.error_position_m = static_cast<int32_t>(position_m);
  tell(model, RecordedFault{number, model.error_position_m, std::nullopt, {}});
}

void record_runtime_failure(ScenarioModel& model, const RuntimeFailure& failure) {
  model.error_code = kFaultRuntimeFailure;
  if (model.fault_sink == nullptr) return;
  RecordedFault fault{kFaultRuntimeFailure, std::nullopt, model.row_place, failure.what()};
  if (fault.place && failure.place()) {
    fault.place->line = failure.place()->line;
    fault.place->column = failure.place()->column;
    fault.place->line_text = failure.place()->line_text;
  }
  model.fault_sink->on_fault(fault);
}

}  // namespace scenario
