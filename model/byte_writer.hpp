#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace scenario {

// Appends fields to a byte buffer in explicit little-endian order, whatever the host.
class ByteWriter {
 public:
  explicit ByteWriter(std::string& out) : out_(out) {}

  void u8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void u16(uint16_t v) {
    u8(static_cast<uint8_t>(v));
    u8(static_cast<uint8_t>(v >> 8));
  }
  void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
  void u32(uint32_t v) {
    u16(static_cast<uint16_t>(v));
    u16(static_cast<uint16_t>(v >> 16));
  }
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void f64(double v) {
    const auto bits = std::bit_cast<uint64_t>(v);
    u32(static_cast<uint32_t>(bits));
    u32(static_cast<uint32_t>(bits >> 32));
  }
  void bytes(std::string_view b) { out_.append(b); }

 private:
  std::string& out_;
};

}  // namespace scenario
