#pragma once

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/file_io.hpp"

namespace scenario::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "scenario-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string shell_quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs `program` with `arguments` in `folder`, with NO_COLOR set, and collects its exit
// status and both output streams.
inline ProgramRun run_program(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                              const std::filesystem::path& folder) {
  const TempFolder capture;
  std::string command = "cd " + shell_quoted(folder.string()) + " && NO_COLOR=1 " + shell_quoted(program.string());
  for (const std::string& argument : arguments) command += " " + shell_quoted(argument);
  command += " >" + shell_quoted((capture / "out").string()) + " 2>" + shell_quoted((capture / "err").string());
  ProgramRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = read_file(capture / "out");
  run.err = read_file(capture / "err");
  return run;
}

// The built program, run in `folder`.
inline ProgramRun run_builder(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
  return run_program(SCENARIO_BUILDER_EXE, arguments, folder);
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
