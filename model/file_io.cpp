#include "model/file_io.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace scenario {
namespace {

std::string system_reason(int error) { return std::strerror(error); }

// Writes everything, going on after partial writes and interruptions.
bool write_all(int fd, std::string_view bytes, int& error) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

FileError::FileError(const std::filesystem::path& path, const std::string& reason)
    : std::runtime_error(path.string() + ": " + reason), path_(path) {}

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  std::string temp = path.string() + ".tmp-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) throw FileError(path, "cannot create: " + system_reason(errno));
  // mkstemp makes the file private; a compiled file is as readable as any other output.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);

  int error = 0;
  bool ok = write_all(fd, bytes, error);
  if (::close(fd) != 0 && ok) {
    error = errno;
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    error = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    throw FileError(path, "cannot write: " + system_reason(error));
  }
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(path, "cannot open: " + system_reason(errno));
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw FileError(path, "cannot read: " + system_reason(errno));
  return std::move(content).str();
}

}  // namespace scenario
