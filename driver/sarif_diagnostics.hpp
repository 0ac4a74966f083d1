#pragma once

#include <ostream>

#include "driver/diagnostic_renderer.hpp"
#include "format/json_text.hpp"

namespace scenario {

// One SARIF 2.1.0 document, written at the close, for code-scanning tools and editors: one
// run whose tool lists every fault as a rule ("fault-16"), and one result per diagnostic
// with the source place as its physical location and its notes as related locations.
class SarifDiagnostics : public DiagnosticRenderer {
 public:
  explicit SarifDiagnostics(std::ostream& err) : err_(err) {}

  void report(const Diagnostic& diagnostic) override;
  void close(const DiagnosticsSummary& summary) override;

 private:
  std::ostream& err_;
  JsonValue results_ = JsonValue::array();  // each result already as JSON: places are views
};

}  // namespace scenario
