#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "model/bit_cast.hpp"

namespace scenario {

// Stores the low N bytes of `value` at `at`, least significant first, whatever the host.
template <size_t N>
inline void store_little_endian(char* at, uint64_t value) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(at, &value, N);  // the host's order is already the file's: one store
  } else {
    for (size_t i = 0; i < N; ++i) at[i] = static_cast<char>(value >> (8 * i));
  }
}

// Where encoded bytes go: a buffer of fixed size that hands its bytes on, a chunk at a
// time, to a drain (a file being written, or a string) together with the offset in the
// output where they belong. Large files are so written with a few large writes and never
// held whole in memory, and a file can be written in parts at once (part_at).
class ByteSink {
 public:
  using Drain = std::function<void(uint64_t offset, std::string_view bytes)>;
  // Told where the output will end, before it is written: a file sets its room aside.
  using EndHint = std::function<void(uint64_t end)>;
  static constexpr size_t kChunk = size_t{1} << 20;
  // The smallest buffer a sink may have: every claim fits in it.
  static constexpr size_t kSmallChunk = size_t{64} << 10;

  explicit ByteSink(Drain drain, EndHint end_hint = nullptr, uint64_t offset = 0, size_t chunk = kChunk)
      : drain_(std::move(drain)), end_hint_(std::move(end_hint)), buffer_(new char[chunk]), chunk_(chunk),
        offset_(offset) {}

  // A sink that keeps nothing, for encoding only to see that it can be done: a small
  // buffer, which stays in the cache, spares the large one's fresh pages every time.
  static ByteSink discarding() { return ByteSink([](uint64_t, std::string_view) {}, nullptr, 0, kSmallChunk); }

  // Room for `n` more bytes, to be filled by the caller at once.
  char* claim(size_t n) {
    if (n > chunk_ - used_) make_room(n);
    char* at = buffer_.get() + used_;
    used_ += n;
    return at;
  }
  void append(std::string_view bytes);
  // Hands every byte held to the drain.
  void flush();

  // Where the next byte goes in the output.
  uint64_t offset() const { return offset_ + used_; }
  // A sink into the same output from `offset` on, with a buffer of its own: for a part
  // whose place is known before the bytes ahead of it are written. Flush it when done.
  ByteSink part_at(uint64_t offset) const { return ByteSink(drain_, end_hint_, offset, chunk_); }
  // Tells the output it will end at `end`; nothing is written by this.
  void expect_end(uint64_t end) const {
    if (end_hint_) end_hint_(end);
  }
  // Moves on past `n` bytes written through another part.
  void skip(uint64_t n) {
    flush();
    offset_ += n;
  }

 private:
  void make_room(size_t n);

  Drain drain_;
  EndHint end_hint_;
  std::unique_ptr<char[]> buffer_;
  size_t chunk_;
  uint64_t offset_ = 0;  // of the first byte in the buffer
  size_t used_ = 0;
};

// Writes fields to a sink in explicit little-endian order.
class ByteWriter {
 public:
  explicit ByteWriter(ByteSink& sink) : sink_(sink) {}

  void u8(uint8_t v) { *sink_.claim(1) = static_cast<char>(v); }
  void u16(uint16_t v) { store_little_endian<2>(sink_.claim(2), v); }
  void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
  void u32(uint32_t v) { store_little_endian<4>(sink_.claim(4), v); }
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void f64(double v) { store_little_endian<8>(sink_.claim(8), bit_cast<uint64_t>(v)); }
  void bytes(std::string_view b) { sink_.append(b); }

 private:
  ByteSink& sink_;
};

// Runs an encoder into a string: `encode(sink)` appends to `out`.
void encode_into_string(std::string& out, const std::function<void(ByteSink&)>& encode);

}  // namespace scenario
