#pragma once

#include <filesystem>
#include <string>

#include "driver/diagnostics.hpp"
#include "format/file_set.hpp"

namespace scenario {

// Makes `folder` (and its parents) when missing; FileError when it cannot, or when the name
// is taken by something that is not a folder.
void ensure_folder(const std::filesystem::path& folder);

// How a command's set of files goes about its folder: it waits for another run as
// --wait/--no-wait say, replaces files already there only with `replace` (--force, or a
// command that always replaces), and what it is told on the way is said as a warning.
SetOptions set_options(bool wait, bool replace, Diagnostics& diagnostics);

// "'DIR' already holds A, B; nothing written (--force replaces them)".
std::string already_there_message(const FilesAlreadyThere& taken);

}  // namespace scenario
