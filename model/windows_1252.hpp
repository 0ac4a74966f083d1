#pragma once

#include <string>
#include <string_view>

namespace scenario {

// Texts of this system are Windows-1252 bytes, one per character.

// Lower-cases a text the way Windows-1252 does (ASCII and the accented capitals).
std::string lower_case_1252(std::string_view text);

}  // namespace scenario
