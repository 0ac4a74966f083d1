#include "driver/compiled_scenario_search.hpp"

#include "driver/command_line.hpp"

namespace scenario {

ScenarioLocation located_scenario(const std::filesystem::path& folder, const std::optional<std::string>& name,
                                  const std::optional<std::string>& number, std::string_view command) {
  try {
    return locate_compiled_scenario(folder, name, number);
  } catch (const ScenarioNotFound& e) {
    throw UsageError(e.what(), std::string(command));
  }
}

std::pair<std::string, std::string> find_compiled_scenario(const std::filesystem::path& folder,
                                                           const std::optional<std::string>& name,
                                                           const std::optional<std::string>& number,
                                                           std::string_view command) {
  ScenarioLocation location = located_scenario(folder, name, number, command);
  return {std::move(location.name), std::move(location.number)};
}

}  // namespace scenario
