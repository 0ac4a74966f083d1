#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "format/byte_writer.hpp"

namespace scenario {

// A file that could not be created, written, renamed or deleted, with the path and the
// system's reason.
class FileError : public std::runtime_error {
 public:
  FileError(const std::filesystem::path& path, const std::string& reason);
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Replaces the file at `path`, all or nothing: the bytes go to a temporary file in the
// same folder, which is renamed over the name only once complete. A failure leaves the
// old file (or none) and no temporary file behind, and throws FileError.
void replace_file(const std::filesystem::path& path, std::string_view bytes);
// The same, with the bytes produced into a sink as they are written.
void replace_file_with(const std::filesystem::path& path, const std::function<void(ByteSink&)>& produce);

// Reads a whole file; throws FileError when it cannot be read.
std::string read_file(const std::filesystem::path& path);

}  // namespace scenario
