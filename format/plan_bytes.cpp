#include "format/plan_bytes.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "format/byte_reader.hpp"
#include "format/file_io.hpp"

namespace scenario {

struct PlanBytes::OpenFile {
  std::filesystem::path path;
  int fd = -1;
  ~OpenFile() {
    if (fd >= 0) ::close(fd);
  }
};

PlanBytes PlanBytes::holding(std::string bytes) {
  PlanBytes plan;
  plan.held_ = std::make_shared<const std::string>(std::move(bytes));
  plan.view_ = *plan.held_;
  return plan;
}

PlanBytes PlanBytes::of_file(const std::filesystem::path& file) {
  auto open = std::make_shared<OpenFile>();
  open->path = file;
  open->fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat status {};
  if (open->fd < 0 || ::fstat(open->fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    // Not a regular file, or one that cannot be opened: refused unread, with the reason.
    return holding(read_regular_file(file));
  }
  if (static_cast<uint64_t>(status.st_size) > kMaxCompiledFileBytes) return holding(read_regular_file(file));
  PlanBytes plan;
  plan.file_size_ = static_cast<uint64_t>(status.st_size);
  plan.file_ = std::move(open);
  return plan;
}

std::string_view PlanBytes::read(uint64_t offset, std::span<char> out) const {
  if (!file_) return offset < view_.size() ? view_.substr(offset) : std::string_view();
  const size_t wanted = static_cast<size_t>(std::min<uint64_t>(out.size(), file_size_ - std::min(offset, file_size_)));
  size_t got = 0;
  while (got < wanted) {
    const ssize_t n = ::pread(file_->fd, out.data() + got, wanted - got, static_cast<off_t>(offset + got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(file_->path, std::string("cannot read: ") + std::strerror(errno));
    if (n == 0) throw DecodeError(offset + got, "the file ends early: it changed while it was read");
    got += static_cast<size_t>(n);
  }
  return std::string_view(out.data(), got);
}

}  // namespace scenario
