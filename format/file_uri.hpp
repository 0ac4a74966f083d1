#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// A path as a URI reference: a relative path stays relative, an absolute one becomes a
// file URI. Unreserved characters and "/" stand as they are; every other byte is
// percent-encoded.
std::string uri_of_path(std::string_view path);

// The path of a file URI ("file:///home/x/Citt%C3%A0.txt", an empty or "localhost"
// authority), percent-decoding undone; none for any other URI or a broken escape.
std::optional<std::string> path_of_file_uri(std::string_view uri);

}  // namespace scenario
