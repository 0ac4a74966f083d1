// The program facing a folder it cannot write and a disk that fills up half way: a clear
// error, a non-zero exit status, no damaged file and no temporary file left behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "model/windows_1252.hpp"
#include "tests/program_runner.hpp"
#include "tests/run_program.hpp"
#include "tests/temp_folder.hpp"

namespace scenario {
namespace {

using testing::copy_program_into;
using testing::run_build_seam;
using testing::run_program;
using testing::run_seam;
using testing::TempFolder;

std::set<std::string> names_in(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(OutputFailures, AReadOnlyFolderStopsTheRunBeforeItsFirstFile) {
  TempFolder folder, scratch;
  const auto program = copy_program_into(folder.path());
  replace_file(folder.path() / "Milano_Tortona_5_note.txt", "older notes");
  std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                                  std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  // Permissions do not bind the superuser: run the program as an ordinary user then.
  const std::string as_user = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  const auto run = run_program(as_user + "'" + program.string() + "'", scratch.path());
  std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);

  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find(folder.path().string() + ": cannot write into the folder: Permission denied"), std::string::npos)
      << run.err;
  EXPECT_EQ(names_in(folder.path()), (std::set<std::string>{"scenario-builder", "Milano_Tortona_5_note.txt"}));
  EXPECT_EQ(read_file(folder.path() / "Milano_Tortona_5_note.txt"), "older notes");
}

TEST(OutputFailures, AWriteThatFailsHalfWayLeavesTheOlderFile) {
  TempFolder folder, scratch;
  const auto program = copy_program_into(folder.path());
  replace_file(folder.path() / "Milano_Tortona_linea.txt", "older line source");
  // 2 blocks of at most 1 KiB: the sources are compiled from memory, but the slowdown order
  // (about 2.8 KiB) cannot be written whole.
  const auto run = run_program("ulimit -f 2; '" + program.string() + "'", scratch.path());

  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find("Milano_Tortona_5_rallentamenti.txt"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
  EXPECT_EQ(read_file(folder.path() / "Milano_Tortona_linea.txt"), "older line source");
  EXPECT_EQ(names_in(folder.path()), (std::set<std::string>{"scenario-builder", "Milano_Tortona_linea.txt"}));
}

TEST(OutputFailures, ACompiledFileThatCannotBeWrittenWholeLeavesTheOlderOnes) {
  TempFolder folder, scratch;
  const auto program = copy_program_into(folder.path());
  replace_file(folder.path() / "Milano_Tortona_linea.dat", "older plan");
  replace_file(folder.path() / "Milano_Tortona_5.dat", "older cells");
  // 200 blocks (100 or 200 KiB, as the shell counts them): every text fits, the line plan
  // (about 1.7 MiB) does not.
  const auto run = run_program("ulimit -f 200; '" + program.string() + "'", scratch.path());

  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find("Milano_Tortona_linea.dat"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
  EXPECT_EQ(read_file(folder.path() / "Milano_Tortona_linea.dat"), "older plan");
  EXPECT_EQ(read_file(folder.path() / "Milano_Tortona_5.dat"), "older cells");
  for (const std::string& name : names_in(folder.path())) EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
}

// Output that cannot be written whole is a failure, whatever was printed before.
TEST(OutputFailures, StandardOutputThatCannotBeWrittenEndsWithStatus2) {
  TempFolder folder, scratch;
  const auto program = copy_program_into(folder.path());
  ASSERT_EQ(run_program("'" + program.string() + "'", scratch.path()).exit_status, 0);
  const std::string quoted = "'" + program.string() + "' ";
  for (const std::string& arguments :
       {std::string("inspect Milano_Tortona_5.sim --json"), std::string("inspect Milano_Tortona_5.dat --all"),
        std::string("inspect Milano_Tortona_linea.dat --annotate"), std::string("--help"), std::string("--version")}) {
    SCOPED_TRACE(arguments);
    const auto run = run_program("(cd '" + folder.path().string() + "' && " + quoted + arguments + " >/dev/full)",
                                 scratch.path());
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.err.find("scenario-builder: error: cannot write to standard output: No space left on device"),
              std::string::npos)
        << run.err;
  }
}

TEST(OutputFailures, ThePictureNeverTakesThePlaceOfTheScenariosFiles) {
  TempFolder folder;
  ASSERT_EQ(run_build_seam(folder.path()).exit_status, 0);
  ASSERT_EQ(run_seam({"sources", "--force"}, folder.path()).exit_status, 0);
  for (const std::string& name : names_in(folder.path())) {
    SCOPED_TRACE(name);
    const std::string before = read_file(folder.path() / name);
    const auto run = run_seam({"plot", "-o", "./" + name}, folder.path());
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.err.find("would replace"), std::string::npos) << run.err;
    EXPECT_EQ(read_file(folder.path() / name), before);
  }
}

TEST(OutputFailures, JsonIsValidUtf8WhateverTheFileIsCalled) {
  TempFolder folder;
  ASSERT_EQ(run_build_seam(folder.path()).exit_status, 0);
  // A file name in Latin-1, as an older system would have written it.
  std::filesystem::rename(folder.path() / "Milano_Tortona_5.sim", folder.path() / "Cant\xF9_5.sim");
  const auto run = run_seam({"inspect", "Cant\xF9_5.sim", "--json"}, folder.path());
  ASSERT_EQ(run.exit_status, 0) << run.err;
  EXPECT_NE(run.out.find("\"file\": \"Cant\\\\xf9_5.sim\""), std::string::npos) << run.out.substr(0, 200);
  for (size_t at = 0; at < run.out.size();) {
    const size_t length = utf8_character_length(run.out, at);
    ASSERT_GT(length, 0u) << "not UTF-8 at byte " << at;
    at += length;
  }
}

}  // namespace
}  // namespace scenario
