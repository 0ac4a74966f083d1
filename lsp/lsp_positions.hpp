#pragma once

#include <nlohmann/json.hpp>

namespace scenario {

// The protocol's Position and Range, lines and characters from 0, characters in UTF-16 units.
nlohmann::json lsp_position(int line, int character);
nlohmann::json lsp_range(int start_line, int start_character, int end_line, int end_character);

// A line or character number a client sent, held to 0 .. INT_MAX before it is converted: a
// position of 1e300 or -5 names the end or the start, never a number an int cannot hold.
// A value that is not a number throws nlohmann::json::type_error.
int position_number(const nlohmann::json& value);

}  // namespace scenario
