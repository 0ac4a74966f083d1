#pragma once

#include <optional>
#include <string>

#include "compiler/compile_context.hpp"
#include "model/diagnostic.hpp"
#include "timing/running_times.hpp"
#include "timing/timing_settings.hpp"

namespace scenario {

// The running-time check of a compile: the running times of the compiled model, and a
// warning at the timetable time of every stop the train cannot keep, with notes at the
// slowdown rows that cost most and a fix that writes the earliest time with the margin,
// rounded up to the minute. A compile that recorded a fault is not checked (its model
// stops where the reading stopped). Warnings only: the model is not changed.
RunningTimes check_running_times(const CompileContext& context, const TimingSettings& settings);

// The edit of a station row's time fields: the text of the three fields (hours, minutes,
// seconds) from `column` (1-based) of `line_text`, and the same fields holding `time_s`,
// each in the width it had. None when the three fields are not all on that line.
std::optional<DiagnosticFix> timetable_time_fix(std::string_view line_text, int column, int32_t time_s);

}  // namespace scenario
