#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace scenario {

// An editor's text is UTF-8; the protocol counts a line's characters in UTF-16 units, the
// compiler in Windows-1252 bytes, one a character.

// The lines of a text, each without its end (CR LF, LF or a lone CR, as the sources end them).
std::vector<std::string_view> text_lines(std::string_view text);

// The UTF-16 units before byte `byte` of a UTF-8 line (a byte past the end counts as the end).
int utf16_of_byte(std::string_view line, std::size_t byte);
// The byte where the UTF-16 unit `units` of a UTF-8 line begins (the end for one past it).
std::size_t byte_of_utf16(std::string_view line, int units);
// The byte where character `characters` (counting from 0) of a UTF-8 line begins.
std::size_t byte_of_character(std::string_view line, std::size_t characters);

// The byte of a whole UTF-8 text where a protocol position (line from 0, UTF-16 units)
// stands: a line past the last is the end of the text, a character past a line's end the
// end of that line.
std::size_t byte_of_position(std::string_view text, int line, int units);

}  // namespace scenario
