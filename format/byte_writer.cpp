#include "format/byte_writer.hpp"

#include <stdexcept>

namespace scenario {

void ByteSink::append(std::string_view bytes) {
  if (bytes.size() > kChunk) {
    flush();
    drain_(bytes);
    return;
  }
  std::memcpy(claim(bytes.size()), bytes.data(), bytes.size());
}

void ByteSink::flush() {
  if (used_ == 0) return;
  drain_(std::string_view(buffer_.get(), used_));
  used_ = 0;
}

void ByteSink::make_room(size_t n) {
  flush();
  // A single claim never exceeds a record, far below the chunk.
  if (n > kChunk) throw std::length_error("byte sink claim larger than its chunk");
}

void encode_into_string(std::string& out, const std::function<void(ByteSink&)>& encode) {
  ByteSink sink([&out](std::string_view bytes) { out.append(bytes); });
  encode(sink);
  sink.flush();
}

}  // namespace scenario
