#include "format/file_io.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace scenario {
namespace {

std::string system_reason(int error) { return std::strerror(error); }

// A file being written under a temporary name beside its final one; committing renames it
// over the final name, and one never committed is removed.
class PendingFile {
 public:
  explicit PendingFile(const std::filesystem::path& path) : path_(path) {
    // A name of this process's own; O_EXCL makes sure no other file is taken over.
    static unsigned counter = 0;
    for (int attempt = 0; fd_ < 0; ++attempt) {
      temp_ = path.string() + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
      fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && (errno != EEXIST || attempt == 100))
        throw FileError(path_, "cannot create: " + system_reason(errno));
    }
  }
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temp_.c_str());
  }

  // Writes everything, going on after partial writes and interruptions.
  void write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        throw FileError(path_, "cannot write: " + system_reason(errno));
      }
      bytes.remove_prefix(static_cast<size_t>(n));
    }
  }

  void commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw FileError(path_, "cannot write: " + system_reason(errno));
    if (::rename(temp_.c_str(), path_.c_str()) != 0) throw FileError(path_, "cannot replace: " + system_reason(errno));
    committed_ = true;
  }

 private:
  std::filesystem::path path_;
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace

FileError::FileError(const std::filesystem::path& path, const std::string& reason)
    : std::runtime_error(path.string() + ": " + reason), path_(path) {}

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  PendingFile file(path);
  file.write(bytes);
  file.commit();
}

void replace_file_with(const std::filesystem::path& path, const std::function<void(ByteSink&)>& produce) {
  PendingFile file(path);
  ByteSink sink([&file](std::string_view bytes) { file.write(bytes); });
  produce(sink);
  sink.flush();
  file.commit();
}

std::string read_file(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError(path, "cannot open: " + system_reason(errno));
  std::string content;
  struct stat status {};
  if (::fstat(fd, &status) == 0 && status.st_size > 0) content.reserve(static_cast<size_t>(status.st_size));
  char chunk[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      throw FileError(path, "cannot read: " + system_reason(error));
    }
    content.append(chunk, static_cast<size_t>(n));
  }
  ::close(fd);
  return content;
}

}  // namespace scenario
