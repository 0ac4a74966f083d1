#pragma once

#include <filesystem>
#include <streambuf>
#include <vector>

namespace scenario {

// Output to an open file descriptor that keeps the reason its first write failed (a full
// disk, a closed pipe), which a stream's failbit alone forgets: the command can then say
// why its output is not whole. Buffered; a flush writes everything held.
class DescriptorOutputBuffer : public std::streambuf {
 public:
  explicit DescriptorOutputBuffer(int descriptor);
  // Opens `path` for writing, emptied first; the descriptor is closed with the buffer.
  // Throws FileError.
  explicit DescriptorOutputBuffer(const std::filesystem::path& path);
  ~DescriptorOutputBuffer() override;
  DescriptorOutputBuffer(const DescriptorOutputBuffer&) = delete;
  DescriptorOutputBuffer& operator=(const DescriptorOutputBuffer&) = delete;

  // The errno of the first write that failed, 0 while every write went through.
  int failure() const { return failure_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool write_held();

  int descriptor_;
  bool owned_ = false;
  int failure_ = 0;
  std::vector<char> held_;
};

}  // namespace scenario
