#include "driver/compiled_scenario_search.hpp"

#include <set>

#include "driver/command_line.hpp"
#include "format/file_io.hpp"

namespace scenario {

std::pair<std::string, std::string> find_compiled_scenario(const std::filesystem::path& folder,
                                                           const std::optional<std::string>& name,
                                                           const std::optional<std::string>& number,
                                                           std::string_view command) {
  if (name && number) return {*name, *number};
  std::set<std::pair<std::string, std::string>> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string file = entry.path().filename().string();
    const size_t underscore = file.rfind('_');
    if (!file.ends_with(".sim") || underscore == std::string::npos || underscore == 0) continue;
    std::string found_name = file.substr(0, underscore);
    std::string found_number = file.substr(underscore + 1, file.size() - underscore - 1 - 4);
    if (found_number.empty() || (name && *name != found_name) || (number && *number != found_number)) continue;
    found.emplace(std::move(found_name), std::move(found_number));
  }
  if (ec) throw FileError(folder, "cannot list: " + ec.message());
  if (found.size() == 1) return *found.begin();
  std::string message = found.empty() ? "no compiled scenario (<name>_<n>.sim) in '" + folder.string() + "'"
                                      : "several compiled scenarios in '" + folder.string() + "':";
  for (const auto& [found_name, found_number] : found) message += " " + found_name + "_" + found_number;
  if (!found.empty()) message += "; choose one with --name and --number";
  throw UsageError(message, std::string(command));
}

}  // namespace scenario
