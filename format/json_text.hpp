#pragma once

#include <string>

namespace scenario {

// A UTF-8 text as a JSON string literal, quotes included.
std::string json_string(const std::string& utf8);

}  // namespace scenario
