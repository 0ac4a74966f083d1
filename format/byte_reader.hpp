#pragma once

#include <bit>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/bit_cast.hpp"

namespace scenario {

// The shortest decimal text that reads back as the same double.
std::string format_double(double value);

// The value of a little-endian field of 1 to 8 bytes.
inline uint64_t little_endian(std::string_view field) {
  uint64_t bits = 0;
  if constexpr (std::endian::native == std::endian::little) {
    switch (field.size()) {  // the file's order is the host's: one load
      case 1: std::memcpy(&bits, field.data(), 1); return bits;
      case 2: std::memcpy(&bits, field.data(), 2); return bits;
      case 4: std::memcpy(&bits, field.data(), 4); return bits;
      case 8: std::memcpy(&bits, field.data(), 8); return bits;
    }
  }
  for (size_t i = field.size(); i-- > 0;) bits = (bits << 8) | static_cast<unsigned char>(field[i]);
  return bits;
}

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
  // `base` is the offset in the file of the first of `bytes`, for a reader of a part.
  explicit ByteReader(std::string_view bytes, FieldListener* listener = nullptr, size_t base = 0)
      : bytes_(bytes), base_(base), listener_(listener) {}

  size_t offset() const { return base_ + pos_; }
  size_t remaining() const { return bytes_.size() - pos_; }
  bool at_end() const { return pos_ == bytes_.size(); }

  // The element that the next fields belong to, e.g. ("track cell", 173).
  void enter(const char* element, int64_t index);
  // "track cell 173", for messages.
  std::string element() const;

  // What a coded value means, for the dump ("signal" for kind 1); may return null.
  using Describe = const char* (*)(int64_t value);

  uint8_t u8(std::string_view name, Describe describe = nullptr) {
    return static_cast<uint8_t>(integer(name, 1, false, describe));
  }
  uint16_t u16(std::string_view name, Describe describe = nullptr) {
    return static_cast<uint16_t>(integer(name, 2, false, describe));
  }
  int16_t i16(std::string_view name) { return static_cast<int16_t>(integer(name, 2, true, nullptr)); }
  int32_t i32(std::string_view name) { return static_cast<int32_t>(integer(name, 4, true, nullptr)); }
  double f64(std::string_view name) {
    const size_t at = pos_;
    const double value = bit_cast<double>(little_endian(take(8, name)));
    if (listener_ != nullptr) heard_double(at, name, value);
    return value;
  }
  // `count` raw bytes, shown as a quoted text.
  std::string_view text(size_t count, std::string_view name);

  // A DecodeError at `offset`, about the current element.
  [[noreturn]] void fail(size_t offset, const std::string& reason) const;

 private:
  std::string_view take(size_t count, std::string_view name) {
    if (remaining() < count) fail_short(count, name);
    const std::string_view field(bytes_.data() + pos_, count);
    pos_ += count;
    return field;
  }
  [[noreturn]] void fail_short(size_t count, std::string_view name) const;
  // Read in place, the listener told out of line: the plan file alone holds millions of fields.
  int64_t integer(std::string_view name, size_t count, bool is_signed, Describe describe) {
    const size_t at = pos_;
    const uint64_t bits = little_endian(take(count, name));
    int64_t value = static_cast<int64_t>(bits);
    const uint64_t sign_bit = uint64_t{1} << (8 * count - 1);
    if (is_signed && (bits & sign_bit) != 0) value -= static_cast<int64_t>(sign_bit << 1);
    if (listener_ != nullptr) heard_integer(at, count, name, value, describe);
    return value;
  }
  // `at` counts from the first of bytes_.
  void heard_integer(size_t at, size_t count, std::string_view name, int64_t value, Describe describe);
  void heard_double(size_t at, std::string_view name, double value);

  std::string_view bytes_;
  size_t base_ = 0;
  size_t pos_ = 0;
  FieldListener* listener_;
  const char* element_ = nullptr;
  int64_t index_ = 0;
};

}  // namespace scenario
