#include "format/byte_reader.hpp"

#include <bit>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <version>

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

}  // namespace

std::string format_double(double value) {
  char buffer[32];
#if defined(__cpp_lib_to_chars)
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
#else
  // A standard library without the floating-point to_chars: the fewest digits that read back
  // as the same value.
  for (int digits = 1;; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    if (digits >= 17 || std::strtod(buffer, nullptr) == value) return buffer;
  }
#endif
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

void ByteReader::fail_short(size_t count, std::string_view name) const {
  fail(offset(), "the file ends inside field " + std::string(name) + ": it needs " + std::to_string(count) +
                 (count == 1 ? " byte, " : " bytes, ") + std::to_string(remaining()) + " left");
}

void ByteReader::heard_integer(size_t at, size_t count, std::string_view name, int64_t value, Describe describe) {
  std::string shown = std::to_string(value);
  if (describe != nullptr) {
    if (const char* meaning = describe(value)) shown += std::string(" (") + meaning + ")";
  }
  listener_->on_field(base_ + at, bytes_.substr(at, count), name, shown);
}

void ByteReader::heard_double(size_t at, std::string_view name, double value) {
  listener_->on_field(base_ + at, bytes_.substr(at, 8), name, format_double(value));
}

std::string_view ByteReader::text(size_t count, std::string_view name) {
  const size_t at = offset();
  const std::string_view field = take(count, name);
  if (listener_ != nullptr) listener_->on_field(at, field, name, quoted(field));
  return field;
}

}  // namespace scenario
