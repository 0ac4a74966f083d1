#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/diagnostic.hpp"
#include "lsp/timing_hover.hpp"
#include "reading/kilometre_readings.hpp"
#include "timing/timing_settings.hpp"

namespace scenario {

// One of the two sources of a compile in memory.
struct PairSource {
  std::string name;   // the file's path, which places name
  std::string bytes;  // the text
  bool utf8 = false;  // an editor's text (UTF-8) rather than a file's bytes (Windows-1252)
};

// A place that outlives the compile: the file's name and the 1-based line and column
// (in Windows-1252 characters, as the compiler counts them).
struct KeptPlace {
  std::string file;
  int line = 0;
  int column = 0;
};

struct KeptNote {
  std::string message;
  std::optional<KeptPlace> place;
};

// A diagnostic kept after the compile that told it.
struct KeptDiagnostic {
  Severity severity = Severity::kError;
  std::optional<int> fault;
  std::optional<int> warning;
  std::string message;
  std::optional<KeptPlace> place;
  std::vector<KeptNote> notes;
  std::optional<DiagnosticFix> fix;
};

struct PairCompileResult {
  std::vector<KeptDiagnostic> diagnostics;  // in the order the compile told them
  // The kilometre readings of the line source, when the compile got as far as the records.
  std::optional<KilometreReadings> readings;
  // What hover tells over each station's timetable time.
  std::vector<StationTimeHover> station_times;
};

// Compiles a line source and a service source in memory, as `compile --check` does (plan
// included), and keeps every diagnostic. Nothing is written, nor encoded: what would stop
// the encoders is checked on the model (check_compiled_files).
// The running-time check runs with `timing` on a compile without faults.
PairCompileResult compile_pair(const PairSource& line, const PairSource& service, const TimingSettings& timing = {});

}  // namespace scenario
