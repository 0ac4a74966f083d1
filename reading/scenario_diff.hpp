#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/sim_record.hpp"
#include "model/track_cell.hpp"
#include "reading/compiled_scenario.hpp"
#include "reading/reading_document.hpp"

namespace scenario {

// What changed between two compiled scenarios, in words, grouped by what it concerns:
// one section per group ("records", "cells", "fills", "plan"), its notes the changes. No
// section at all when the two are equal.
ReadingDocument diff_scenarios(const LoadedScenario& a, const LoadedScenario& b);

// The same for one part alone, when two files of one kind are compared.
ReadingDocument diff_records(const std::array<SimRecord, kRecordCount>& a, const std::array<SimRecord, kRecordCount>& b);
ReadingDocument diff_cells(const std::vector<TrackCell>& a, const std::vector<TrackCell>& b);
// Plans as their files' bytes ("" for no plan) with their computed points, each file
// checked whole before (line_plan_extent): their bytes compared first, and only the stretches
// that differ decoded.
ReadingDocument diff_plans(const PlanBytes& a, int64_t points_a, const PlanBytes& b, int64_t points_b);

// What a cell holds, in words: "speed-limit board 80/80/80", "signal 40/10/10/6".
std::string cell_feature_text(const TrackCell& cell);

}  // namespace scenario
