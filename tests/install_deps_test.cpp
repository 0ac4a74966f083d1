// The set-up script where it cannot install: it says the one command to run as root.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "format/file_set.hpp"
#include "tests/run_program.hpp"
#include "tests/temp_folder.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

// A folder of stand-ins that is the whole PATH: an ordinary user, apt-get, and a sudo that
// cannot authenticate. Every package looked for by command is then missing.
TEST(InstallDeps, SudoThatCannotAuthenticateLeavesTheCommandToRunAsRoot) {
  testing::TempFolder bin, scratch;
  const auto stand_in = [&](const std::string& name, const std::string& body) {
    replace_file(bin.path() / name, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(bin.path() / name, std::filesystem::perms::owner_all);
  };
  stand_in("id", "echo 1000");
  stand_in("apt-get", "exit 0");
  stand_in("sudo", "echo 'sudo: a terminal is required to read the password' >&2; exit 1");
  const auto run = testing::run_program("PATH='" + bin.path().string() + "' /bin/bash '" SCENARIO_ROOT
                                        "/scripts/install-deps'",
                                        scratch.path());
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(testing::contains(run.err, "sudo: a terminal is required")) << run.err;
  EXPECT_TRUE(testing::contains(run.err, "install-deps: these packages are missing; as root, run:\n"
                                         "  apt-get update && apt-get install -y cmake ninja-build"))
      << run.err;
}

}  // namespace
}  // namespace scenario
