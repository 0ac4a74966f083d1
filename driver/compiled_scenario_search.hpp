#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace scenario {

// The scenario compiled into `folder` that a command reads: the one given by name and
// number, or the only one whose records file <name>_<n>.sim stands there (matching the
// name or number given). Throws UsageError (about `command`) when there is none or more
// than one, FileError when the folder cannot be listed.
std::pair<std::string, std::string> find_compiled_scenario(const std::filesystem::path& folder,
                                                           const std::optional<std::string>& name,
                                                           const std::optional<std::string>& number,
                                                           std::string_view command);

}  // namespace scenario
