#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenario {

// The shortest decimal text that reads back as the same double.
std::string format_double(double value);

// A compiled file that cannot be decoded: truncated, too long, or holding something its
// encoder never writes. `offset` is the byte where decoding failed.
class DecodeError : public std::runtime_error {
 public:
  DecodeError(size_t offset, const std::string& reason);
  size_t offset() const { return offset_; }

 private:
  size_t offset_;
};

// Hears every field a decoder reads, in file order: the annotated dump is built from it,
// so the dump can never disagree with the decoder.
class FieldListener {
 public:
  virtual ~FieldListener() = default;
  // A new record, cell or plan element begins.
  virtual void on_group(std::string_view label) = 0;
  // One field: where it lies, its bytes as they are on disk, its name and decoded value.
  virtual void on_field(size_t offset, std::string_view bytes, std::string_view name, std::string_view value) = 0;
};

// Reads fields in little-endian order from a byte buffer, the exact inverse of ByteWriter.
// Every read names its field, so that a file ending too soon is reported with the byte
// offset, the element being decoded (set with enter) and the field.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes, FieldListener* listener = nullptr)
      : bytes_(bytes), listener_(listener) {}

  size_t offset() const { return pos_; }
  size_t remaining() const { return bytes_.size() - pos_; }
  bool at_end() const { return pos_ == bytes_.size(); }

  // The element that the next fields belong to, e.g. ("track cell", 173).
  void enter(const char* element, int64_t index);
  // "track cell 173", for messages.
  std::string element() const;

  // What a coded value means, for the dump ("signal" for kind 1); may return null.
  using Describe = const char* (*)(int64_t value);

  uint8_t u8(std::string_view name, Describe describe = nullptr);
  uint16_t u16(std::string_view name, Describe describe = nullptr);
  int16_t i16(std::string_view name);
  int32_t i32(std::string_view name);
  double f64(std::string_view name);
  // `count` raw bytes, shown as a quoted text.
  std::string_view text(size_t count, std::string_view name);

  // A DecodeError at `offset`, about the current element.
  [[noreturn]] void fail(size_t offset, const std::string& reason) const;

 private:
  std::string_view take(size_t count, std::string_view name);
  int64_t integer(std::string_view name, size_t count, bool is_signed, Describe describe);

  std::string_view bytes_;
  size_t pos_ = 0;
  FieldListener* listener_;
  const char* element_ = nullptr;
  int64_t index_ = 0;
};

}  // namespace scenario
