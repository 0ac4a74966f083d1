#include "format/file_io.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace scenario {
namespace {

std::string open_failure(int error) {
  switch (error) {
    case ENOENT: return "no such file";
    case ELOOP: return "a loop of symbolic links";
    case EISDIR: return "it is a folder";
    default: return std::string("cannot open it: ") + std::strerror(error);
  }
}

// Closes the file however the reading ends.
class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  ~OpenFile() { ::close(fd_); }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

FileError::FileError(const std::filesystem::path& path, const std::string& reason)
    : std::runtime_error(path.string() + ": " + reason), path_(path), reason_(reason) {}

std::string too_large(size_t max_bytes) {
  return "larger than " + std::to_string(max_bytes >> 20) + " MiB, the most it may hold";
}

namespace {

std::string read_opened(const std::filesystem::path& path, int flags, size_t max_bytes, bool regular_only) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
  if (fd < 0) throw FileError(path, open_failure(errno));
  const OpenFile file(fd);
  std::string content;
  struct stat status {};
  if (::fstat(fd, &status) != 0) throw FileError(path, std::string("cannot read: ") + std::strerror(errno));
  if (S_ISDIR(status.st_mode)) throw FileError(path, open_failure(EISDIR));
  if (regular_only && !S_ISREG(status.st_mode)) throw FileError(path, "not a regular file");
  // A regular file tells its size: one too large is refused unread.
  if (S_ISREG(status.st_mode)) {
    if (static_cast<uint64_t>(status.st_size) > max_bytes) throw FileError(path, too_large(max_bytes));
    content.reserve(static_cast<size_t>(status.st_size));
  }
  // Anything else (a pipe, a device) is read until its end or one byte past the limit.
  char chunk[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(path, std::string("cannot read: ") + std::strerror(errno));
    }
    if (static_cast<size_t>(n) > max_bytes - content.size()) throw FileError(path, too_large(max_bytes));
    content.append(chunk, static_cast<size_t>(n));
  }
  return content;
}

}  // namespace

std::string read_file(const std::filesystem::path& path, size_t max_bytes) {
  return read_opened(path, 0, max_bytes, false);
}

std::string read_regular_file(const std::filesystem::path& path, size_t max_bytes) {
  // Opened without waiting: a FIFO is refused, not waited on.
  return read_opened(path, O_NONBLOCK | O_NOCTTY, max_bytes, true);
}

bool is_same_file(const std::filesystem::path& one, const std::filesystem::path& other) {
  std::error_code ec;
  if (std::filesystem::equivalent(one, other, ec) && !ec) return true;
  const auto one_place = std::filesystem::weakly_canonical(one, ec);
  if (ec) return false;
  const auto other_place = std::filesystem::weakly_canonical(other, ec);
  return !ec && one_place == other_place;
}

}  // namespace scenario
