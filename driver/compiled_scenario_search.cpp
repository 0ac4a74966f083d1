#include "driver/compiled_scenario_search.hpp"

#include <utility>

#include "driver/command_line.hpp"

namespace scenario {

ScenarioLocation located_scenario(const std::filesystem::path& folder, const std::optional<std::string>& name,
                                  const std::optional<std::string>& number, std::string_view command) {
  ScenarioSearch search = locate_compiled_scenario(folder, name, number);
  if (!search.location) throw UsageError(search.why_not, std::string(command));
  return std::move(*search.location);
}

}  // namespace scenario
