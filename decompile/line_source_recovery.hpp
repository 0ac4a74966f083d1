#pragma once

#include <set>
#include <string>
#include <vector>

#include "decompile/compiled_scenario.hpp"
#include "decompile/curve_recovery.hpp"

namespace scenario {

// The line source that compiles to the scenario's route: its general rows from records 81
// to 86, the curves (none when compiled without a plan), and the gradients, mountain
// stretches, speed-limit boards and indicator boards of the cells. What cannot be written
// back is named in `remarks`.
// `taken_exit_cells` are station exit cells whose remains are a service row's feature.
std::string recover_line_source(const CompiledScenario& scenario, const std::vector<CurveRun>& curves,
                                const std::set<int64_t>& taken_exit_cells, Remarks& remarks);

}  // namespace scenario
