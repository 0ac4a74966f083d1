#include "model/windows_1252.hpp"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace scenario {
namespace {

// The characters of bytes 80 to 9F, the only stretch where Windows-1252 differs from
// Latin-1; 0 stands for a byte that carries no character.
constexpr std::array<char32_t, 32> kCharactersOf80To9F = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

std::string hex_code(char32_t code) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[code % 16]);
    code /= 16;
  } while (code != 0);
  while (digits.size() < 4) digits.insert(digits.begin(), '0');
  return "U+" + digits;
}

[[noreturn]] void reject_utf8(std::size_t offset) {
  throw std::invalid_argument("text is not valid UTF-8 at byte " + std::to_string(offset));
}

// Reads the character starting at `at` and moves `at` behind it.
char32_t next_code_point(std::string_view utf8, std::size_t& at) {
  const std::size_t start = at;
  const auto lead = static_cast<unsigned char>(utf8[at++]);
  if (lead < 0x80) return lead;
  // A lead byte tells how many continuation bytes follow and the smallest value that
  // needs that many (anything smaller is an overlong form).
  std::size_t continuation = 0;
  char32_t smallest = 0;
  if (lead >= 0xC0 && lead <= 0xDF) continuation = 1, smallest = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) continuation = 2, smallest = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF7) continuation = 3, smallest = 0x10000;
  else reject_utf8(start);
  char32_t code = lead & (0x3F >> continuation);
  for (std::size_t i = 0; i < continuation; ++i) {
    if (at >= utf8.size()) reject_utf8(start);
    const auto byte = static_cast<unsigned char>(utf8[at++]);
    if ((byte & 0xC0) != 0x80) reject_utf8(start);
    code = (code << 6) | (byte & 0x3F);
  }
  if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) reject_utf8(start);
  return code;
}

unsigned char byte_of(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<unsigned char>(code);
  for (std::size_t i = 0; i < kCharactersOf80To9F.size(); ++i)
    if (kCharactersOf80To9F[i] == code) return static_cast<unsigned char>(0x80 + i);
  throw std::invalid_argument("character " + hex_code(code) + " has no Windows-1252 byte");
}

void append_utf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::size_t utf8_character_length(std::string_view text, std::size_t at) {
  std::size_t after = at;
  try {
    next_code_point(text, after);
  } catch (const std::invalid_argument&) {
    return 0;
  }
  return after - at;
}

std::string lower_case_1252(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) {
    const auto c = static_cast<unsigned char>(ch);
    unsigned char l = c;
    if (c >= 'A' && c <= 'Z') l = static_cast<unsigned char>(c + 32);
    else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) l = static_cast<unsigned char>(c + 32);
    else if (c == 0x8A || c == 0x8C || c == 0x8E) l = static_cast<unsigned char>(c + 16);
    else if (c == 0x9F) l = 0xFF;
    ch = static_cast<char>(l);
  }
  return lower;
}

std::string utf8_to_1252(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const std::size_t start = at;
    try {
      bytes.push_back(static_cast<char>(byte_of(next_code_point(utf8, at))));
    } catch (const std::invalid_argument& e) {
      throw Utf8ConversionError(e.what(), start);
    }
  }
  return bytes;
}

std::optional<std::size_t> first_utf8_letter(std::string_view text) {
  std::optional<std::size_t> first;
  try {
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t start = at;
      if (next_code_point(text, at) >= 0x80 && !first) first = start;
    }
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  }
  return first;
}

std::string utf8_from_1252(std::string_view windows_1252) {
  std::string utf8;
  utf8.reserve(windows_1252.size());
  for (const char ch : windows_1252) {
    const auto byte = static_cast<unsigned char>(ch);
    char32_t code = byte;
    if (byte >= 0x80 && byte <= 0x9F) {
      code = kCharactersOf80To9F.at(byte - 0x80u);
      if (code == 0) code = 0xFFFD;
    }
    append_utf8(utf8, code);
  }
  return utf8;
}

}  // namespace scenario
