#pragma once

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "driver/diagnostic_renderer.hpp"

namespace scenario {

// Diagnostics for a person, the way compilers print them:
//   Milano_Tortona_5-.txt:48:1: error: fault 16: signal on an occupied cell at 8600 m
//    segnale,    8600, ...
//    ^
// or, for a diagnostic that no source row caused,
//   scenario-builder: error: fault 12: no free cell for ... at 52650 m
// Notes follow their diagnostic in the same shape. A fault number that keeps coming back is
// shown a few times; the rest are counted and summed up at the close, which ends with the
// line that scripts read, with the last fault's own position when it names one:
//   scenario-builder: 3 faults recorded; last: fault 13 at 54250 m
class TextDiagnostics : public DiagnosticRenderer {
 public:
  static constexpr int kShownPerFault = 3;

  TextDiagnostics(std::ostream& err, bool colour) : err_(err), colour_(colour) {}

  void report(const Diagnostic& diagnostic) override;
  // Exactly as the build shows it: " Errore n. 1250".
  void report_shown_fault(const Diagnostic& diagnostic) override;
  void close(const DiagnosticsSummary& summary) override;

 private:
  std::string paint(std::string_view text, const char* code) const;
  void print_at(const std::optional<SourcePlace>& place, const std::string& label, const std::string& message,
                bool with_source_line = true);

  std::ostream& err_;
  bool colour_;
  std::map<int, int> times_seen_;
  std::vector<int> suppressed_;  // fault numbers with hidden repeats, in order of the first hidden one
};

}  // namespace scenario
