#include "compiler/fault_recording.hpp"

#include <utility>

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
void tell(const CompileContext& context, RecordedFault fault) {
  if (context.fault_sink == nullptr) return;
  if (context.row_place) {
    if (!fault.place) fault.place = context.row_place;
    fault.notes.push_back(reading_stopped_note(*context.row_place));
  }
  context.fault_sink->on_fault(fault);
}

}  // namespace

void record_fault(CompileContext& context, Fault fault) {
  const int number = fault_number(fault);
  context.error_code = number;
  tell(context, RecordedFault{number, std::nullopt, std::nullopt, {}, {}});
}

void record_fault(CompileContext& context, Fault fault, int64_t position_m, std::vector<DiagnosticNote> notes,
                  std::optional<DiagnosticFix> fix) {
  // Positions come from 32-bit fields or from cell × 50, so they always fit.
  const int number = fault_number(fault);
  context.error_code = number;
  context.error_position_m = static_cast<int32_t>(position_m);
  tell(context, RecordedFault{number, context.error_position_m, std::nullopt, {}, std::move(notes), std::nullopt,
                              std::move(fix)});
}

void record_row_fault(CompileContext& context, RowFault fault) {
  if (fault.position_m)
    record_fault(context, fault.fault, *fault.position_m, std::move(fault.notes), std::move(fault.fix));
  else
    record_fault(context, fault.fault);
}

void record_fault_of_row(CompileContext& context, Fault fault, const SourcePlace& place,
                         std::optional<int32_t> position_m, std::vector<DiagnosticNote> notes,
                         std::optional<int32_t> recorded_m) {
  const int number = fault_number(fault);
  context.error_code = number;
  if (recorded_m)
    context.error_position_m = *recorded_m;
  else if (position_m)
    context.error_position_m = *position_m;
  if (context.fault_sink != nullptr)
    context.fault_sink->on_fault(RecordedFault{number, position_m, place, {}, std::move(notes), recorded_m});
}

void record_runtime_failure(CompileContext& context, const RuntimeFailure& failure) {
  context.error_code = fault_number(Fault::kRuntimeFailure);
  tell(context, RecordedFault{fault_number(Fault::kRuntimeFailure), std::nullopt, failure.place(), failure.what(), {}});
}

void report_error(const CompileContext& context, std::string message, std::optional<SourcePlace> place) {
  if (context.fault_sink == nullptr) return;
  context.fault_sink->on_error(Diagnostic{Severity::kError, std::nullopt, std::move(message), place, std::nullopt, {}});
}

void report_warning(const CompileContext& context, Warning warning, std::string message,
                    std::optional<SourcePlace> place, std::optional<DiagnosticFix> fix,
                    std::vector<DiagnosticNote> notes) {
  if (context.fault_sink == nullptr) return;
  if (!place) place = context.row_place;
  context.fault_sink->on_diagnostic(Diagnostic{Severity::kWarning, std::nullopt, std::move(message), place,
                                               std::nullopt, std::move(notes), warning_number(warning),
                                               std::move(fix)});
}

void stop_reading_for_standing_fault(CompileContext& context, int32_t position_m) {
  context.error_position_m = position_m;
  if (context.fault_sink == nullptr || !context.row_place) return;
  const SourcePlace& row = *context.row_place;
  context.fault_sink->on_reading_stopped(Diagnostic{
      Severity::kWarning, std::nullopt,
      "fault " + std::to_string(context.error_code) + ", recorded earlier, still stands and ends the reading here",
      row, position_m, {reading_stopped_note(row)}, warning_number(Warning::kReadingStopped)});
}

}  // namespace scenario
