#pragma once

#include <cstdint>
#include <set>

#include "decompile/compiled_scenario.hpp"

namespace scenario {

// A station exit takes its cell whatever it holds, and writes only the kind and value1:
// the rest of the feature it took stays. Exit cells that keep a signal's time are a
// signal's (no other feature writes one), and so are those that show a signal's approach
// codes further off than the station's own, unless `slowdown_cells` claims them.
std::set<int64_t> signals_under_exits(const CompiledScenario& scenario, const std::set<int64_t>& slowdown_cells);

}  // namespace scenario
