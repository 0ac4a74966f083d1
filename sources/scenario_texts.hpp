#pragma once

#include <string_view>

namespace scenario {

// The built-in scenario's five texts, exactly as their files hold them: one line per text
// line, each ended here by a newline (the writers end it with CR LF).

// The line source: the route, its general data and its features.
extern const std::string_view kLineSourceText;
// The service source: the train, its fills, stations, slowdowns, signals and code reductions.
extern const std::string_view kServiceSourceText;
// The notes for the driver (UTF-8 here; the file carries Windows-1252).
extern const std::string_view kNotesText;
// The slowdown order form.
extern const std::string_view kSlowdownOrderText;
// The train card.
extern const std::string_view kTrainCardText;

}  // namespace scenario
