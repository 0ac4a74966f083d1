#pragma once

#include <ostream>

#include "driver/diagnostic_renderer.hpp"

namespace scenario {

// One JSON object per line and per diagnostic, every key always present (null when it does
// not apply), for scripts and editors:
//   {"severity": "error", "fault": 16, "message": "signal on an occupied cell",
//    "file": "Prova_5-.txt", "line": 48, "column": 1, "position": 8600, "notes": []}
// Each note is {"message", "file", "line", "column"}. Every diagnostic is printed, repeats
// included; there is no closing line.
class JsonDiagnostics : public DiagnosticRenderer {
 public:
  explicit JsonDiagnostics(std::ostream& err) : err_(err) {}

  void report(const Diagnostic& diagnostic) override;
  void close(const DiagnosticsSummary& summary) override;

 private:
  std::ostream& err_;
};

}  // namespace scenario
