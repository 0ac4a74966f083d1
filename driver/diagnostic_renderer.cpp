#include "driver/diagnostic_renderer.hpp"

#include "driver/json_diagnostics.hpp"
#include "driver/sarif_diagnostics.hpp"
#include "driver/text_diagnostics.hpp"

namespace scenario {

std::unique_ptr<DiagnosticRenderer> make_diagnostic_renderer(DiagnosticsFormat format, std::ostream& err, bool colour) {
  switch (format) {
    case DiagnosticsFormat::kJson:
      return std::make_unique<JsonDiagnostics>(err);
    case DiagnosticsFormat::kSarif:
      return std::make_unique<SarifDiagnostics>(err);
    case DiagnosticsFormat::kText:
      break;
  }
  return std::make_unique<TextDiagnostics>(err, colour);
}

std::string diagnostic_headline(const Diagnostic& diagnostic) {
  std::string text;
  if (diagnostic.fault) text = "fault " + std::to_string(*diagnostic.fault) + ": ";
  text += diagnostic.message;
  if (diagnostic.position_m) text += " at " + std::to_string(*diagnostic.position_m) + " m";
  return text;
}

}  // namespace scenario
