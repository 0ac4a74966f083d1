#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace scenario {

// The scenario base name and number that a compile gives its files and its header.
struct ScenarioIdentity {
  std::string name;    // as the author wrote it: the compiled files are named with it
  std::string number;
  // The same as the records carry them, one Windows-1252 byte per character.
  std::string name_text;
  std::string number_text;
};

// The identity of a pair of sources: the name from a line source called <name>_linea.txt,
// the number from a service source called <name>_<n>-.txt; `name` and `number`, when
// given, take precedence. Throws UsageError when either cannot be told, cannot be part of a
// file name or cannot be written in Windows-1252.
ScenarioIdentity infer_scenario_identity(const std::filesystem::path& line_source,
                                         const std::filesystem::path& service_source,
                                         const std::optional<std::string>& name,
                                         const std::optional<std::string>& number);

}  // namespace scenario
