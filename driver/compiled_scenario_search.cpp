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

}  // namespace scenario
