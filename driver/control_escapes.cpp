#include "driver/control_escapes.hpp"

namespace scenario {
namespace {

void append_escaped(std::string& out, char c) {
  constexpr char kHex[] = "0123456789abcdef";
  const auto byte = static_cast<unsigned char>(c);
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xf];
}

// How many continuation bytes a UTF-8 character that begins with `byte` has; 0 for none.
int continuations_after(unsigned char byte) {
  if (byte >= 0xc2 && byte <= 0xdf) return 1;
  if (byte >= 0xe0 && byte <= 0xef) return 2;
  if (byte >= 0xf0 && byte <= 0xf4) return 3;
  return 0;
}

}  // namespace

void ControlEscaper::put(char c, std::string& out) {
  const auto byte = static_cast<unsigned char>(c);
  const bool c1 = byte >= 0x80 && byte <= 0x9f;
  if (holding_c2_) {
    holding_c2_ = false;
    if (c1) {
      append_escaped(out, '\xc2');
      append_escaped(out, c);
      return;
    }
    out += '\xc2';
    continuations_ = 1;
  }
  if (continuations_ > 0 && byte >= 0x80 && byte <= 0xbf) {
    --continuations_;
    out += c;
    return;
  }
  continuations_ = 0;
  if (byte == 0xc2) {
    holding_c2_ = true;
    return;
  }
  continuations_ = continuations_after(byte);
  const bool control = (byte < 0x20 && c != '\t' && !(line_ends_pass_ && c == '\n')) || byte == 0x7f || c1;
  if (control)
    append_escaped(out, c);
  else
    out += c;
}

void ControlEscaper::finish(std::string& out) {
  if (holding_c2_) out += '\xc2';
  holding_c2_ = false;
  continuations_ = 0;
}

std::string escaped_controls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  ControlEscaper escaper(false);
  for (const char c : text) escaper.put(c, out);
  escaper.finish(out);
  return out;
}

ControlEscapingBuffer::int_type ControlEscapingBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

std::streamsize ControlEscapingBuffer::xsputn(const char* text, std::streamsize count) {
  std::string out;
  for (std::streamsize i = 0; i < count; ++i) escaper_.put(text[i], out);
  const auto size = static_cast<std::streamsize>(out.size());
  return target_->sputn(out.data(), size) == size ? count : 0;
}

int ControlEscapingBuffer::sync() {
  // What a flush finds held goes out as it is: no byte is lost at the end of the output.
  std::string out;
  escaper_.finish(out);
  if (!out.empty() && target_->sputn(out.data(), static_cast<std::streamsize>(out.size())) !=
                          static_cast<std::streamsize>(out.size()))
    return -1;
  return target_->pubsync();
}

}  // namespace scenario
