#pragma once

#include <functional>

#include "compiler/compile_entry.hpp"
#include "driver/diagnostics.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// Runs one compile (`work` compiles into `model` and writes what it writes) with every
// recorded fault reported as it comes, closes the diagnostics and turns the outcome into
// the exit status: 0 clean, 1 faults, 2 nothing compiled.
int compile_and_report(ScenarioModel& model, Diagnostics& diagnostics, const std::function<CompileResult()>& work);

}  // namespace scenario
