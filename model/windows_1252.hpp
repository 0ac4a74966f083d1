#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenario {

// Texts of this system are Windows-1252 bytes, one per character.

// Lower-cases a text the way Windows-1252 does (ASCII and the accented capitals).
std::string lower_case_1252(std::string_view text);

// Turns a UTF-8 text into Windows-1252, one byte per character. Throws
// std::invalid_argument on bytes that are not well-formed UTF-8 (stray or missing
// continuation bytes, overlong forms, surrogates, values past U+10FFFF) and on a character
// that Windows-1252 does not have, so that nothing is ever written as a guess. The five
// byte values 81, 8D, 8F, 90 and 9D carry no character and are never produced.
std::string utf8_to_1252(std::string_view utf8);

// The length of the well-formed UTF-8 character that starts at byte `at` of `text`, or 0
// when the bytes there are not one.
std::size_t utf8_character_length(std::string_view text, std::size_t at);

// What utf8_to_1252 throws: the byte offset of the character that failed, with the reason.
class Utf8ConversionError : public std::invalid_argument {
 public:
  Utf8ConversionError(const std::string& what, std::size_t offset) : std::invalid_argument(what), offset_(offset) {}
  std::size_t offset() const { return offset_; }

 private:
  std::size_t offset_;
};

// The offset of the first character outside ASCII when the whole text is well-formed UTF-8
// and holds one; none otherwise (plain ASCII, or bytes that UTF-8 does not allow).
std::optional<std::size_t> first_utf8_letter(std::string_view text);

// The other way: a Windows-1252 text as UTF-8, for terminals and JSON. The five bytes that
// carry no character become U+FFFD.
std::string utf8_from_1252(std::string_view windows_1252);

}  // namespace scenario
