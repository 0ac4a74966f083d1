#pragma once

#include <string>
#include <string_view>

namespace scenario {

// Source and record texts are Windows-1252, one byte per character; terminals and JSON
// want UTF-8. Bytes that Windows-1252 leaves undefined become U+FFFD.
std::string utf8_from_1252(std::string_view text);

}  // namespace scenario
