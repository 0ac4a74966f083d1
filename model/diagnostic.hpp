#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/scenario_model.hpp"

namespace scenario {

enum class Severity { kError, kWarning };

// A further word on a diagnostic, at a place of its own when it has one ("the cell already
// holds the signal of line 48").
struct DiagnosticNote {
  std::string message;
  std::optional<SourcePlace> place;
};

// The edit a diagnostic proposes: `written`, as it stands at or after the diagnostic's
// place on its line, becomes `replacement` (a keyword's "did you mean", a position moved
// to its cell). Both are Windows-1252, as the source holds them.
struct DiagnosticFix {
  std::string written;
  std::string replacement;
};

// One thing the author is told: what, how bad, and where. Messages are UTF-8 and carry no
// "fault N:" prefix and no position; the renderers add those from the fields. A place's
// line text is the source line as read (Windows-1252). Views in a place stay valid only
// while the diagnostic is being reported.
struct Diagnostic {
  Severity severity = Severity::kError;
  std::optional<int> fault;           // the fault number, when this is a recorded fault
  std::string message;
  std::optional<SourcePlace> place;   // file, line, column and the line's text
  std::optional<int32_t> position_m;  // the route position the diagnostic names, in metres
  std::vector<DiagnosticNote> notes;
  std::optional<int> warning = std::nullopt;  // the warning number, when this is a warning of the table
  std::optional<DiagnosticFix> fix = std::nullopt;
  std::string file = {};  // the file it concerns when no line applies ("" for none)
};

}  // namespace scenario
