#include "driver/control_escapes.hpp"

namespace scenario {
namespace {

bool is_escaped(char c, bool line_ends_pass) {
  const auto byte = static_cast<unsigned char>(c);
  if (c == '\t' || (line_ends_pass && c == '\n')) return false;
  return byte < 0x20 || byte == 0x7f;
}

void append_escaped(std::string& out, char c) {
  constexpr char kHex[] = "0123456789abcdef";
  const auto byte = static_cast<unsigned char>(c);
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xf];
}

}  // namespace

std::string escaped_controls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (is_escaped(c, false))
      append_escaped(out, c);
    else
      out += c;
  }
  return out;
}

ControlEscapingBuffer::int_type ControlEscapingBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

std::streamsize ControlEscapingBuffer::xsputn(const char* text, std::streamsize count) {
  std::string out;
  for (std::streamsize i = 0; i < count; ++i) {
    if (is_escaped(text[i], true))
      append_escaped(out, text[i]);
    else
      out += text[i];
  }
  const auto size = static_cast<std::streamsize>(out.size());
  return target_->sputn(out.data(), size) == size ? count : 0;
}

int ControlEscapingBuffer::sync() { return target_->pubsync(); }

}  // namespace scenario
