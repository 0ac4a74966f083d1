#include "model/fault_record.hpp"

#include "model/fault_table.hpp"

namespace scenario {
namespace {

// Where the reading of a source stops when a fault ends it at `row`.
DiagnosticNote reading_stopped_note(const SourcePlace& row) {
  return DiagnosticNote{"reading of this source stopped here; the rows after line " + std::to_string(row.line) +
                            " were not compiled",
                        row};
}

// A fault without a place of its own is placed at the source row being compiled, and it
// stopped the reading of that row's source.
void tell(ScenarioModel& model, RecordedFault fault) {
  if (model.fault_sink == nullptr) return;
  if (model.row_place) {
    if (!fault.place) fault.place = model.row_place;
    fault.notes.push_back(reading_stopped_note(*model.row_place));
  }
  model.fault_sink->on_fault(fault);
}

}  // namespace

void record_fault(ScenarioModel& model, Fault fault) {
  const int number = fault_number(fault);
  model.error_code = number;
  tell(model, RecordedFault{number, std::nullopt, std::nullopt, {}, {}});
}

void record_fault(ScenarioModel& model, Fault fault, int64_t position_m, std::vector<DiagnosticNote> notes) {
  // Positions come from 32-bit fields or from cell × 50, so they always fit.
  const int number = fault_number(fault);
  model.error_code = number;
  model.error_position_m = static_cast<int32_t>(position_m);
  tell(model, RecordedFault{number, model.error_position_m, std::nullopt, {}, std::move(notes)});
}

void record_fault_of_row(ScenarioModel& model, Fault fault, const SourcePlace& place) {
  const int number = fault_number(fault);
  model.error_code = number;
  if (model.fault_sink != nullptr) model.fault_sink->on_fault(RecordedFault{number, std::nullopt, place, {}, {}});
}

void record_runtime_failure(ScenarioModel& model, const RuntimeFailure& failure) {
  model.error_code = fault_number(Fault::kRuntimeFailure);
  tell(model, RecordedFault{fault_number(Fault::kRuntimeFailure), std::nullopt, failure.place(), failure.what(), {}});
}

void report_error(const ScenarioModel& model, std::string message, std::optional<SourcePlace> place) {
  if (model.fault_sink == nullptr) return;
  model.fault_sink->on_error(Diagnostic{Severity::kError, std::nullopt, std::move(message), place, std::nullopt, {}});
}

Diagnostic diagnostic_of_fault(const RecordedFault& fault) {
  std::string message(fault_meaning(fault.number));
  if (!fault.detail.empty()) message += ": " + std::string(fault.detail);
  return Diagnostic{Severity::kError, fault.number, std::move(message), fault.place, fault.position_m, fault.notes};
}

void report_warning(const ScenarioModel& model, Warning warning, std::string message,
                    std::optional<SourcePlace> place, std::optional<DiagnosticFix> fix,
                    std::vector<DiagnosticNote> notes) {
  if (model.fault_sink == nullptr) return;
  if (!place) place = model.row_place;
  model.fault_sink->on_diagnostic(Diagnostic{Severity::kWarning, std::nullopt, std::move(message), place, std::nullopt,
                                             std::move(notes), warning_number(warning), std::move(fix)});
}

void stop_reading_for_standing_fault(ScenarioModel& model, int32_t position_m) {
  model.error_position_m = position_m;
  if (model.fault_sink == nullptr || !model.row_place) return;
  const SourcePlace& row = *model.row_place;
  model.fault_sink->on_reading_stopped(Diagnostic{
      Severity::kWarning, std::nullopt,
      "fault " + std::to_string(model.error_code) + ", recorded earlier, still stands and ends the reading here",
      row, position_m, {reading_stopped_note(row)}, warning_number(Warning::kReadingStopped)});
}

}  // namespace scenario
