#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace scenario {

// The scenario base name and number that a compile gives its files and its header.
struct ScenarioIdentity {
  std::string name;
  std::string number;
};

// The identity of a pair of sources: the name from a line source called <name>_linea.txt,
// the number from a service source called <name>_<n>-.txt; `name` and `number`, when
// given, take precedence. Throws UsageError when either cannot be told or cannot be part
// of a file name.
ScenarioIdentity infer_scenario_identity(const std::filesystem::path& line_source,
                                         const std::filesystem::path& service_source,
                                         const std::optional<std::string>& name,
                                         const std::optional<std::string>& number);

}  // namespace scenario
