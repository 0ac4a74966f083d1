#pragma once

#include <functional>

#include "compiler/compile_entry.hpp"
#include "driver/diagnostics.hpp"

namespace scenario {

// Runs one compile (`work` compiles, telling `diagnostics` of every recorded fault as it
// comes, and writes what it writes), closes the diagnostics and turns the outcome into the
// exit status: 0 clean, 1 faults, 2 nothing compiled.
int compile_and_report(Diagnostics& diagnostics, const std::function<CompileResult()>& work);

}  // namespace scenario
