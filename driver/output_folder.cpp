#include "driver/output_folder.hpp"

#include <system_error>

namespace scenario {

void ensure_folder(const std::filesystem::path& folder) {
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) return;
  if (std::filesystem::exists(folder, ec)) throw FileError(folder, "not a folder");
  std::filesystem::create_directories(folder, ec);
  if (ec) throw FileError(folder, "cannot create the folder: " + ec.message());
}

SetOptions set_options(bool wait, bool replace, Diagnostics& diagnostics) {
  SetOptions options;
  options.wait = wait;
  options.replace = replace;
  options.notice = [&diagnostics](const std::string& message) { diagnostics.notice(message); };
  return options;
}

std::string already_there_message(const FilesAlreadyThere& taken) {
  std::string names;
  for (const std::string& name : taken.names()) names += (names.empty() ? "" : ", ") + name;
  return "'" + taken.path().string() + "' already holds " + names + "; nothing written (--force replaces them)";
}

}  // namespace scenario
