#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "format/file_io.hpp"

namespace scenario::testing {

struct ProgramRun {
  int exit_status = -1;  // -1 when the program did not exit normally (a signal, a crash)
  std::string out;
  std::string err;
};

// Runs a shell command, its output captured in files of `scratch` (a folder of the test).
inline ProgramRun run_program(const std::string& command, const std::filesystem::path& scratch) {
  const auto out = scratch / "stdout.txt", err = scratch / "stderr.txt";
  const int status = std::system((command + " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null").c_str());
  ProgramRun run;
  run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = read_file(out);
  run.err = read_file(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

// A copy of the built program in `folder`, which the built-in run then writes into.
inline std::filesystem::path copy_program_into(const std::filesystem::path& folder) {
  const auto program = folder / "scenario-builder";
  std::filesystem::copy_file(SCENARIO_BUILDER_EXE, program, std::filesystem::copy_options::overwrite_existing);
  return program;
}

}  // namespace scenario::testing
