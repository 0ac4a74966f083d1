#include "format/byte_writer.hpp"

#include <stdexcept>

namespace scenario {

void ByteSink::append(std::string_view bytes) {
  if (bytes.size() > chunk_) {
    flush();
    drain_(offset_, bytes);
    offset_ += bytes.size();
    return;
  }
  std::memcpy(claim(bytes.size()), bytes.data(), bytes.size());
}

void ByteSink::flush() {
  if (used_ == 0) return;
  drain_(offset_, std::string_view(buffer_.get(), used_));
  offset_ += used_;
  used_ = 0;
}

void ByteSink::make_room(size_t n) {
  flush();
  // A single claim never exceeds a record, far below the chunk.
  if (n > chunk_) throw std::length_error("byte sink claim larger than its chunk");
}

void encode_into_string(std::string& out, const std::function<void(ByteSink&)>& encode) {
  // Offsets count from the end of what `out` held before; parts may come out of order.
  const size_t base = out.size();
  ByteSink sink([&out, base](uint64_t offset, std::string_view bytes) {
    const size_t at = base + static_cast<size_t>(offset);
    if (at == out.size()) {
      out.append(bytes);
      return;
    }
    if (out.size() < at + bytes.size()) out.resize(at + bytes.size());
    out.replace(at, bytes.size(), bytes);
  });
  encode(sink);
  sink.flush();
}

}  // namespace scenario
