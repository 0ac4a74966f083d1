#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "driver/diagnostics_format.hpp"
#include "model/diagnostic.hpp"

namespace scenario {

// What a compile came to, for the closing words of a renderer.
struct DiagnosticsSummary {
  int faults_recorded = 0;
  int errors = 0;  // errors that are no fault, warnings under --werror among them
  int warnings = 0;
  int rows_dropped = 0;  // rows whose keyword, close to a row's, matched none (warned of as W2)
  int32_t last_fault = 0;                  // the last fault recorded
  std::optional<int32_t> last_position_m;  // its own position, when it names one
  std::string last_position_is;            // what the position is when it is not the fault's own
  bool nothing_written = false;            // a compile that found faults wrote no file
};

// Prints diagnostics in one format. Places already carry the file names the author gave.
class DiagnosticRenderer {
 public:
  virtual ~DiagnosticRenderer() = default;
  virtual void report(const Diagnostic& diagnostic) = 0;
  // A header fault, which ends the build the moment it is shown.
  virtual void report_shown_fault(const Diagnostic& diagnostic) { report(diagnostic); }
  // Called once, after the last diagnostic.
  virtual void close(const DiagnosticsSummary& summary) = 0;
};

std::unique_ptr<DiagnosticRenderer> make_diagnostic_renderer(DiagnosticsFormat format, std::ostream& err, bool colour);

// "fault 16: signal on an occupied cell at 8600 m": the message with its fault number and
// position, as a person reads it.
std::string diagnostic_headline(const Diagnostic& diagnostic);

}  // namespace scenario
