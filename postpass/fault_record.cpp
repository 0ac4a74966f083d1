#include "postpass/fault_record.hpp"

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
  tell(model, RecordedFault{number, std::nullopt, std::nullopt});
}

void record_fault(ScenarioModel& model, int number, int64_t position_m) {
  // Positions come from 32-bit fields or from cell × 50, so they always fit.
  model.error_code = number;
  model.error_position_m = static_cast<int32_t>(position_m);
  tell(model, RecordedFault{number, model.error_position_m, std::nullopt});
}

}  // namespace scenario
