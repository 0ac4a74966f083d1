#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/diagnostic.hpp"
#include "model/fault_table.hpp"
#include "model/runtime_failure.hpp"
#include "model/scenario_model.hpp"
#include "model/warning_table.hpp"

namespace scenario {

// One fault as it was recorded.
struct RecordedFault {
  int number = 0;
  std::optional<int32_t> position_m;   // set when the fault names a position
  std::optional<SourcePlace> place;    // the source row (or field) that caused it, if any
  std::string_view detail;             // what failed, for a run-time failure
  std::vector<DiagnosticNote> notes;   // further words, each at its own place
};

// A recorded fault as the author is told it: its meaning, then what failed.
Diagnostic diagnostic_of_fault(const RecordedFault& fault);

// Hears of every recorded fault, in order (the command line turns them into diagnostics).
class FaultSink {
 public:
  virtual ~FaultSink() = default;
  virtual void on_fault(const RecordedFault& fault) = 0;
  // A warning: said to the author, never recorded in the model.
  virtual void on_diagnostic(const Diagnostic&) {}
  // An error that is no fault of the table: the compile fails, and the model is as it would
  // be without it, so files written all the same hold the same bytes.
  virtual void on_error(const Diagnostic& error) { on_diagnostic(error); }
  // A fault recorded earlier still stands and ends the reading of a source at the row of
  // `warning`, whose position the model now holds with that fault.
  virtual void on_reading_stopped(const Diagnostic& warning) { on_diagnostic(warning); }
};

// Records a fault in the model (each one overwrites the last) and tells the sink. A fault
// recorded while a source row is being compiled ends the reading of that source there: the
// sink hears it at the row, with a note that says so after `notes`.
void record_fault(ScenarioModel& model, Fault fault);
void record_fault(ScenarioModel& model, Fault fault, int64_t position_m,
                  std::vector<DiagnosticNote> notes = {});
// A fault found once a source has been read, caused by the row at `place`.
void record_fault_of_row(ScenarioModel& model, Fault fault, const SourcePlace& place);
// A run-time failure, fault 25: the sink hears what failed, at the failing field when a
// field caused it.
void record_runtime_failure(ScenarioModel& model, const RuntimeFailure& failure);

// Tells the sink of an error that is no fault: it changes nothing in the model, and fails
// the compile.
void report_error(const ScenarioModel& model, std::string message, std::optional<SourcePlace> place);

// Tells the sink of a warning: at `place`, or at the row being compiled when there is none.
// Warnings change nothing in the model.
void report_warning(const ScenarioModel& model, Warning warning, std::string message,
                    std::optional<SourcePlace> place = std::nullopt, std::optional<DiagnosticFix> fix = std::nullopt,
                    std::vector<DiagnosticNote> notes = {});

// The fault that already stands in the model ends the reading at the row being compiled,
// whose position the model now holds with it.
void stop_reading_for_standing_fault(ScenarioModel& model, int32_t position_m);

}  // namespace scenario
