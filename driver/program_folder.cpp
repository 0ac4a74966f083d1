#include "driver/program_folder.hpp"

#include "format/file_io.hpp"

namespace scenario {

std::filesystem::path program_folder() {
  std::error_code ec;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw FileError("/proc/self/exe", "cannot find the program's folder: " + ec.message());
  return executable.parent_path();
}

}  // namespace scenario
