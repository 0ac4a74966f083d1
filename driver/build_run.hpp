#pragma once

#include <filesystem>
#include <ostream>

#include "compiler/compile_entry.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

inline constexpr const char* kBuiltinScenarioName = "Milano_Tortona";
inline constexpr const char* kBuiltinScenarioNumber = "5";

// The built-in scenario build into `folder`: sets the identity, shows "Attendere" on
// `progress` before any work, compiles the two sources from memory (deleting older files of
// their names), writes the three documents and the compiled files, leaving alone those the
// folder holds already as they would be written; `sink` (may be null) hears every fault and warning.
// Throws FileError when a file cannot be written.
CompileResult run_builtin_build(ScenarioModel& model, const std::filesystem::path& folder, std::ostream& progress,
                                const SetOptions& options = {}, FaultSink* sink = nullptr);

}  // namespace scenario
