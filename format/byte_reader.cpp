#include "format/byte_reader.hpp"

#include <bit>
#include <charconv>

namespace scenario {
namespace {

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

uint64_t little_endian(std::string_view field) {
  uint64_t bits = 0;
  for (size_t i = field.size(); i-- > 0;) bits = (bits << 8) | static_cast<unsigned char>(field[i]);
  return bits;
}

}  // namespace

std::string format_double(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

DecodeError::DecodeError(size_t offset, const std::string& reason)
    : std::runtime_error("byte " + std::to_string(offset) + ": " + reason), offset_(offset) {}

void ByteReader::enter(const char* element, int64_t index) {
  element_ = element;
  index_ = index;
  if (listener_ != nullptr) listener_->on_group(this->element());
}

std::string ByteReader::element() const {
  if (element_ == nullptr) return "the file";
  return std::string(element_) + " " + std::to_string(index_);
}

void ByteReader::fail(size_t offset, const std::string& reason) const {
  throw DecodeError(offset, reason + " (" + element() + ")");
}

std::string_view ByteReader::take(size_t count, std::string_view name) {
  if (remaining() < count) {
    fail(pos_, "the file ends inside field " + std::string(name) + ": it needs " + std::to_string(count) +
                   (count == 1 ? " byte, " : " bytes, ") + std::to_string(remaining()) + " left");
  }
  const std::string_view field = bytes_.substr(pos_, count);
  pos_ += count;
  return field;
}

int64_t ByteReader::integer(std::string_view name, size_t count, bool is_signed, Describe describe) {
  const size_t offset = pos_;
  const std::string_view field = take(count, name);
  const uint64_t bits = little_endian(field);
  int64_t value = static_cast<int64_t>(bits);
  const uint64_t sign_bit = uint64_t{1} << (8 * count - 1);
  if (is_signed && (bits & sign_bit) != 0) value -= static_cast<int64_t>(sign_bit << 1);
  if (listener_ != nullptr) {
    std::string shown = std::to_string(value);
    if (describe != nullptr) {
      if (const char* meaning = describe(value)) shown += std::string(" (") + meaning + ")";
    }
    listener_->on_field(offset, field, name, shown);
  }
  return value;
}

uint8_t ByteReader::u8(std::string_view name, Describe describe) {
  return static_cast<uint8_t>(integer(name, 1, false, describe));
}
uint16_t ByteReader::u16(std::string_view name, Describe describe) {
  return static_cast<uint16_t>(integer(name, 2, false, describe));
}
int16_t ByteReader::i16(std::string_view name) { return static_cast<int16_t>(integer(name, 2, true, nullptr)); }
int32_t ByteReader::i32(std::string_view name) { return static_cast<int32_t>(integer(name, 4, true, nullptr)); }

double ByteReader::f64(std::string_view name) {
  const size_t offset = pos_;
  const std::string_view field = take(8, name);
  const double value = std::bit_cast<double>(little_endian(field));
  if (listener_ != nullptr) listener_->on_field(offset, field, name, format_double(value));
  return value;
}

std::string_view ByteReader::text(size_t count, std::string_view name) {
  const size_t offset = pos_;
  const std::string_view field = take(count, name);
  if (listener_ != nullptr) listener_->on_field(offset, field, name, quoted(field));
  return field;
}

}  // namespace scenario
