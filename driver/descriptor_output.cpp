#include "driver/descriptor_output.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "format/file_io.hpp"

namespace scenario {

namespace {

constexpr size_t kHeldBytes = 64 * 1024;

int opened_for_writing(const std::filesystem::path& path) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
  if (descriptor < 0) throw FileError(path, std::strerror(errno));
  return descriptor;
}

}  // namespace

DescriptorOutputBuffer::DescriptorOutputBuffer(int descriptor) : descriptor_(descriptor), held_(kHeldBytes) {
  setp(held_.data(), held_.data() + held_.size());
}

DescriptorOutputBuffer::DescriptorOutputBuffer(const std::filesystem::path& path)
    : DescriptorOutputBuffer(opened_for_writing(path)) {
  owned_ = true;
}

DescriptorOutputBuffer::~DescriptorOutputBuffer() {
  write_held();
  if (owned_ && descriptor_ >= 0) ::close(descriptor_);
}

bool DescriptorOutputBuffer::write_held() {
  const char* next = pbase();
  const char* const end = pptr();
  while (next < end && failure_ == 0) {
    const ssize_t written = ::write(descriptor_, next, static_cast<size_t>(end - next));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failure_ = written < 0 ? errno : ENOSPC;
      break;
    }
    next += written;
  }
  // What could not be written is dropped: the output is already known not to be whole.
  setp(held_.data(), held_.data() + held_.size());
  return failure_ == 0;
}

DescriptorOutputBuffer::int_type DescriptorOutputBuffer::overflow(int_type c) {
  if (!write_held()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int DescriptorOutputBuffer::sync() { return write_held() ? 0 : -1; }

}  // namespace scenario
