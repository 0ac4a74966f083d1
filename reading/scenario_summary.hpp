#pragma once

#include "reading/compiled_scenario.hpp"
#include "reading/reading_document.hpp"

namespace scenario {

// A compiled scenario in its author's terms: identity, route and plan, the kilometre
// readings, the stations in running order, the features along the track, the fills as
// ranges, the competition codes and what the files show of recorded faults.
ReadingDocument summarise_scenario(const LoadedScenario& scenario);

}  // namespace scenario
