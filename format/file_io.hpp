#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "format/byte_writer.hpp"

namespace scenario {

// A file that could not be created, read, written, renamed or deleted, with the path and
// the reason.
class FileError : public std::runtime_error {
 public:
  FileError(const std::filesystem::path& path, const std::string& reason);
  const std::filesystem::path& path() const { return path_; }
  const std::string& reason() const { return reason_; }

 private:
  std::filesystem::path path_;
  std::string reason_;
};

// The most a source text may hold, far above any real route: a larger one is refused
// before it is read.
inline constexpr size_t kMaxSourceBytes = size_t{64} << 20;
// The most a compiled file that is read back may hold.
inline constexpr size_t kMaxCompiledFileBytes = size_t{1} << 30;

// The reason a file of more than `max_bytes` is refused ("larger than 64 MiB, ...").
std::string too_large(size_t max_bytes);

// Reads a whole file, opening it once, whatever it is: a regular file, a pipe, a FIFO.
// Throws FileError when it cannot be read or holds more than `max_bytes`; the reason is
// short ("no such file", "it is a folder", "a loop of symbolic links", ...).
std::string read_file(const std::filesystem::path& path, size_t max_bytes = kMaxCompiledFileBytes);

// Reads a whole file that must be a regular one of at most `max_bytes`: a compiled file. A
// FIFO, a device or a folder at its name is refused unread ("not a regular file").
std::string read_regular_file(const std::filesystem::path& path, size_t max_bytes = kMaxCompiledFileBytes);

// True when both paths name one file: the same existing file, or the same place for one
// that is not there yet.
bool is_same_file(const std::filesystem::path& one, const std::filesystem::path& other);

}  // namespace scenario
