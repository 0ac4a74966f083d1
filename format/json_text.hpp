#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// A UTF-8 text as a JSON string literal, quotes included.
std::string json_string(std::string_view utf8);

// A number, or null when there is none.
std::string json_optional(const std::optional<int64_t>& number);

}  // namespace scenario
