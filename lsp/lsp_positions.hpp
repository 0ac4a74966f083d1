#pragma once

#include <nlohmann/json.hpp>

namespace scenario {

// The protocol's Position and Range, lines and characters from 0, characters in UTF-16 units.
nlohmann::json lsp_position(int line, int character);
nlohmann::json lsp_range(int start_line, int start_character, int end_line, int end_character);

}  // namespace scenario
