#include "model/fault_record.hpp"

#include "model/fault_table.hpp"

namespace scenario {
namespace {

// A fault without a place of its own is placed at the source row being compiled.
void tell(ScenarioModel& model, RecordedFault fault) {
  if (model.fault_sink == nullptr) return;
  if (!fault.place) fault.place = model.row_place;
  model.fault_sink->on_fault(fault);
}

}  // namespace

void record_fault(ScenarioModel& model, Fault fault) {
  const int number = fault_number(fault);
  model.error_code = number;
  tell(model, RecordedFault{number, std::nullopt, std::nullopt, {}, {}});
}

void record_fault(ScenarioModel& model, Fault fault, int64_t position_m) {
  // Positions come from 32-bit fields or from cell × 50, so they always fit.
  const int number = fault_number(fault);
  model.error_code = number;
  model.error_position_m = static_cast<int32_t>(position_m);
  tell(model, RecordedFault{number, model.error_position_m, std::nullopt, {}, {}});
}

void record_runtime_failure(ScenarioModel& model, const RuntimeFailure& failure) {
  model.error_code = fault_number(Fault::kRuntimeFailure);
  tell(model, RecordedFault{fault_number(Fault::kRuntimeFailure), std::nullopt, failure.place(), failure.what(), {}});
}

}  // namespace scenario
