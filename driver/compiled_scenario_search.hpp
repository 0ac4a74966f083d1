#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "reading/compiled_scenario.hpp"

namespace scenario {

// The scenario compiled into `folder` that a command reads, found by listing the folder
// (locate_compiled_scenario). Throws UsageError (about `command`) when there is none or more
// than one, FileError when the folder cannot be listed.
ScenarioLocation located_scenario(const std::filesystem::path& folder, const std::optional<std::string>& name,
                                  const std::optional<std::string>& number, std::string_view command);

}  // namespace scenario
