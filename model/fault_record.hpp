#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/diagnostic.hpp"
#include "model/fault_table.hpp"
#include "model/source_place.hpp"
#include "model/warning_table.hpp"

namespace scenario {

// One fault as it was recorded.
struct RecordedFault {
  int number = 0;
  std::optional<int32_t> position_m;   // set when the fault names a position
  std::optional<SourcePlace> place;    // the source row (or field) that caused it, if any
  std::string_view detail;             // what failed, for a run-time failure
  std::vector<DiagnosticNote> notes;   // further words, each at its own place
  // The position recorded with the fault when it is not `position_m`, the row's own: the
  // cell where the signalling walk found no room.
  std::optional<int32_t> recorded_position_m = std::nullopt;
  std::optional<DiagnosticFix> fix = std::nullopt;  // the edit that mends the row, when it is clear
};

// A recorded fault as the author is told it: its meaning, then what failed.
Diagnostic diagnostic_of_fault(const RecordedFault& fault);

// Hears of every recorded fault, in order (the command line turns them into diagnostics).
class FaultSink {
 public:
  virtual ~FaultSink() = default;
  virtual void on_fault(const RecordedFault& fault) = 0;
  // A warning: said to the author, never recorded as a fault.
  virtual void on_diagnostic(const Diagnostic&) {}
  // An error that is no fault of the table: the compile fails, and the model is as it would
  // be without it, so files written all the same hold the same bytes.
  virtual void on_error(const Diagnostic& error) { on_diagnostic(error); }
  // A fault recorded earlier still stands and ends the reading of a source at the row of
  // `warning`, whose position is now recorded with that fault.
  virtual void on_reading_stopped(const Diagnostic& warning) { on_diagnostic(warning); }
};

}  // namespace scenario
