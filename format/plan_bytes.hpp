#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

// The bytes of a line plan file: a view of bytes held elsewhere, bytes of its own, or a
// regular file read a part at a time, so that a reader of a long plan need not hold it.
// Copies share what they read from.
class PlanBytes {
 public:
  PlanBytes() = default;
  // A view: the caller keeps the bytes while this or a copy is read. Not explicit, so that
  // bytes in memory go wherever a plan's bytes are read.
  PlanBytes(std::string_view bytes) : view_(bytes) {}
  PlanBytes(const std::string& bytes) : view_(bytes) {}
  PlanBytes(const char* bytes) : view_(bytes) {}
  // A string about to go: holding() keeps it; a view of it would outlive it.
  PlanBytes(std::string&& bytes) = delete;
  static PlanBytes holding(std::string bytes);
  // A regular file stays open and is read in parts; anything else is read whole now.
  // FileError when it cannot be opened or read.
  static PlanBytes of_file(const std::filesystem::path& file);

  uint64_t size() const { return file_ ? file_size_ : view_.size(); }
  bool empty() const { return size() == 0; }

  // The bytes from `offset` into `out`, as many as fit and there are; held bytes are given
  // as a view instead, with `out` untouched. FileError when the file cannot be read, a
  // DecodeError when it has become shorter.
  std::string_view read(uint64_t offset, std::span<char> out) const;

  // True when the bytes are in memory: read() then never copies.
  bool in_memory() const { return !file_; }

 private:
  struct OpenFile;
  std::string_view view_;
  std::shared_ptr<const std::string> held_;
  std::shared_ptr<const OpenFile> file_;
  uint64_t file_size_ = 0;
};

}  // namespace scenario
