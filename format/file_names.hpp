#pragma once

#include <string>
#include <string_view>

namespace scenario {

// Why `name` cannot be the name of a file that this program writes into a folder, "" when
// it can: one plain part of a path, not empty, neither "." nor "..", without "/" and
// without control characters (a newline or a tab would break the commit note, and an
// escape sequence would reach the terminal with every message that names the file).
std::string file_name_fault(std::string_view name);

// Whether `text` holds a byte below 0x20 or the byte 0x7f.
bool has_control_character(std::string_view text);

}  // namespace scenario
