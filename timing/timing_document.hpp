#pragma once

#include "reading/reading_document.hpp"
#include "timing/running_times.hpp"
#include "timing/timing_settings.hpp"

namespace scenario {

// The running times as the `timing` command prints them: what the check assumed of the
// train, then one row per station (name, kilometre reading, scheduled, earliest, with the
// margin, slack), and where the train stalls if it does.
ReadingDocument timing_document(const RunningTimes& times, const TimingSettings& settings);

// The fastest run between the timed stops, for the summary: one row per run.
DocumentSection running_times_section(const RunningTimes& times);

// Every stop whose fastest run from the stop before changed between two builds, as the
// changes of the group "running times" ("fastest to 'PAVIA': +14 s").
void add_running_time_changes(ReadingDocument& changes, const RunningTimes& before, const RunningTimes& after);

}  // namespace scenario
