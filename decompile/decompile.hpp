#pragma once

#include <cstdint>
#include <string>

#include "decompile/compiled_scenario.hpp"

namespace scenario {

// Editable sources of a compiled scenario.
struct RecoveredSources {
  std::string line;       // <name>_linea.txt: Windows-1252, CR LF after every line
  std::string service;    // <name>_<n>-.txt
  int32_t plan_mode = 0;  // 1 when the scenario was compiled with its plan
  ScenarioTexts texts;    // the name and number the sources compile under
  Remarks remarks;        // what could not be written back, in words
};

// Recovers the two sources from the compiled files alone. The code reduction points that the
// signalling walk adds by itself are left out: the sources are compiled without them to see
// which points the walk places. Throws FileError.
RecoveredSources decompile(const CompiledFiles& files);

}  // namespace scenario
