#pragma once

#include <string>
#include <vector>

#include "reading/compiled_scenario.hpp"

namespace scenario {

// What the compiled files do not hold about the train; the author gives it, or its place on
// the card stays blank. Windows-1252 texts.
struct TrainDetails {
  std::string train_class;  // "INTERREGIONALE"
  std::string rank;         // the rank beside the highest speed: "B"
  std::string mass_t;       // braked mass in tonnes: "600"
};

// The train card of a scenario, line by line in Windows-1252: the heading (train number,
// first and last station, highest line speed, braked-mass percentage) and the timetable, one
// row per station and per change of line speed in running order, as long as the route needs.
std::vector<std::string> train_card_lines(const LoadedScenario& scenario, const TrainDetails& details);

}  // namespace scenario
