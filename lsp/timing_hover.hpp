#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "compiler/compile_context.hpp"
#include "timing/running_times.hpp"
#include "timing/timing_settings.hpp"

namespace scenario {

// What hover tells over a station's timetable time: the earliest time the fastest run
// keeps there and the slack, at the time fields of its row.
struct StationTimeHover {
  std::string file;
  int line = 0;          // 1-based
  int first_column = 0;  // 1-based, in the row's Windows-1252 characters
  int last_column = 0;   // the time fields' last character
  std::string text;      // Markdown
};

// One hover per station row of the compile, from its running times.
std::vector<StationTimeHover> station_time_hovers(const CompileContext& context, const RunningTimes& times);

// The hover at a line and character (0-based, as the protocol counts them; the columns before a
// station's time are ASCII, so characters and columns agree there), or null.
nlohmann::json station_time_hover_at(const std::vector<StationTimeHover>& hovers, const std::string& file, int line,
                                     int character);

// The running-time settings an editor gives in its initialization options, under "timing":
// {"acceleration": 0.4, "dwell": 30, "margin": "5,1.5", ...}, the names of the command line's
// options. Throws std::invalid_argument for one that does not suit.
TimingSettings timing_settings_of(const nlohmann::json& initialization_options);

}  // namespace scenario
