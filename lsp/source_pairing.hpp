#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace scenario {

enum class SourceRole { kLine, kService };

// What a source is by its file name: NAME_linea.txt a line source, NAME_N-.txt a service
// source; none for any other name.
std::optional<SourceRole> source_role(const std::filesystem::path& file);

// What a text is by its name, else by its headers: one that holds a header only a service
// source has ("[stazioni]", "[segnali]", ...) is a service source, any other a line source.
SourceRole role_of_text(const std::filesystem::path& file, std::string_view text);

// The line source that pairs with a service source NAME_N-.txt: NAME_linea.txt beside it.
// Since NAME may hold "_" itself, N is what follows the last "_".
std::optional<std::filesystem::path> line_source_of(const std::filesystem::path& service_source);

// Whether `candidate` is a service source of the line source `line_source`: NAME_N-.txt
// in the same folder, N not empty.
bool is_service_source_of(const std::filesystem::path& candidate, const std::filesystem::path& line_source);

}  // namespace scenario
