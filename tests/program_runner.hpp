#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <string>
#include <utility>
#include <vector>

#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "driver/run_main.hpp"
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

// The program run in this process through its seam, in `folder` (the working folder is
// changed for the run and put back): the same output and exit status as the process, without
// starting one. What only the process has (signals, its standard output's checks, the
// built-in run beside the program) is tried with run_builder.
inline ProgramRun run_seam(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
  struct WorkingFolder {
    std::filesystem::path before = std::filesystem::current_path();
    explicit WorkingFolder(const std::filesystem::path& folder) { std::filesystem::current_path(folder); }
    ~WorkingFolder() { std::filesystem::current_path(before); }
  } working(folder);
  std::ostringstream out, err;
  Console console{out, err, false};
  const std::vector<std::string_view> views(arguments.begin(), arguments.end());
  ProgramRun run;
  run.exit_status = run_main(views, console);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// The built-in run into `folder`, in this process: what the program copied there writes when
// run without arguments.
inline ProgramRun run_build_seam(const std::filesystem::path& folder) {
  std::ostringstream out, err;
  Console console{out, err, false};
  ProgramRun run;
  run.exit_status = run_build_command(folder, console);
  run.out = out.str();
  run.err = err.str();
  return run;
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
