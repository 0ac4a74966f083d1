#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "tests/run_program.hpp"
#include "tests/temp_folder.hpp"

namespace scenario::testing {

inline std::string shell_quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs `program` with `arguments` in `folder`, with NO_COLOR set; the output is captured
// in a scratch folder of its own.
inline ProgramRun run_in(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& folder) {
  const TempFolder scratch;
  std::string command = "cd " + shell_quoted(folder.string()) + " && NO_COLOR=1 " + shell_quoted(program.string());
  for (const std::string& argument : arguments) command += " " + shell_quoted(argument);
  return run_program(command, scratch.path());
}

// The built program, run in `folder`.
inline ProgramRun run_builder(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
  return run_in(SCENARIO_BUILDER_EXE, arguments, folder);
}

inline void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// The names and bytes of every file in a folder, for "nothing else changed" checks.
inline std::vector<std::pair<std::string, std::string>> folder_contents(const std::filesystem::path& folder) {
  std::vector<std::pair<std::string, std::string>> contents;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) contents.emplace_back(entry.path().filename().string(), read_file(entry.path()));
  }
  std::sort(contents.begin(), contents.end());
  return contents;
}

}  // namespace scenario::testing
