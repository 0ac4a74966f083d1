#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace scenario {

// Every JSON the program prints is built as one of these and written by the library; its
// members keep the order they were added in.
using JsonValue = nlohmann::ordered_json;

// A UTF-8 text as a JSON string. A byte that is not part of a UTF-8 character (a file name
// in another encoding) becomes the text \xNN, so the document stays valid UTF-8 and the byte
// is told.
JsonValue json_text(std::string_view utf8);

// A whole document, indented by two blanks, and a line break.
std::string json_document(const JsonValue& value);
// One value on one line, without a line break: a line of JSON Lines, or an element of a
// document written as it goes.
std::string json_line(const JsonValue& value);

}  // namespace scenario
