#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "model/diagnostic.hpp"
#include "model/fault_table.hpp"
#include "model/runtime_failure.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// One fault as it was recorded.
struct RecordedFault {
  int number = 0;
  std::optional<int32_t> position_m;   // set when the fault names a position
  std::optional<SourcePlace> place;    // the source row (or field) that caused it, if any
  std::string_view detail;             // what failed, for a run-time failure
  std::vector<DiagnosticNote> notes;   // further words, each at its own place
};

// Hears of every recorded fault, in order (the command line turns them into diagnostics).
class FaultSink {
 public:
  virtual ~FaultSink() = default;
  virtual void on_fault(const RecordedFault& fault) = 0;
  // A warning: said to the author, never recorded in the model.
  virtual void on_diagnostic(const Diagnostic&) {}
};

// Records a fault in the model (each one overwrites the last) and tells the sink.
void record_fault(ScenarioModel& model, Fault fault);
void record_fault(ScenarioModel& model, Fault fault, int64_t position_m);
// A run-time failure, fault 25: the sink hears what failed, at the failing field when a
// field caused it.
void record_runtime_failure(ScenarioModel& model, const RuntimeFailure& failure);

}  // namespace scenario
