// A set of files replaced together: a failure before the commit leaves every older file,
// the older permissions stay, and the leftovers of killed runs go while living runs keep
// theirs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "format/file_set.hpp"
#include "format/temporary_files.hpp"
#include "tests/program_runner.hpp"

namespace scenario {
namespace {

using testing::folder_contents;
using testing::TempFolder;
using testing::write_bytes;

mode_t permission_bits(const std::filesystem::path& file) {
  struct stat status {};
  EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
  return status.st_mode & 0777;
}

// A process id that no process has: a child that has ended and been waited for.
pid_t ended_process() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST(FileSet, AFailureOnTheLastFileLeavesEveryOlderFile) {
  struct Case {
    const char* what;
    void (*break_last)(const std::filesystem::path& folder);  // makes the last file fail
    bool fails_while_writing;
  };
  const Case cases[] = {
      {"a folder where the last file goes",
       [](const std::filesystem::path& folder) {
         std::filesystem::remove(folder / "c");
         std::filesystem::create_directory(folder / "c");
       },
       false},
      {"the disk fills up on the last file", [](const std::filesystem::path&) {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    for (const char* name : {"a", "b", "c"}) write_bytes(folder.path() / name, std::string("older ") + name);
    c.break_last(folder.path());
    const auto before = folder_contents(folder.path());
    {
      FileSet files(folder.path());
      files.add("a", "new a");
      files.add_with("b", [](ByteSink& out) { out.append("new b"); });
      if (c.fails_while_writing) {
        EXPECT_THROW(files.add_with("c",
                                    [](ByteSink& out) {
                                      out.append("new c, half");
                                      throw FileError("c", "cannot write: No space left on device");
                                    }),
                     FileError);
      } else {
        files.add("c", "new c");
        EXPECT_THROW(files.commit(), FileError);
      }
    }
    EXPECT_EQ(folder_contents(folder.path()), before);
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      EXPECT_FALSE(is_temporary_file_name(entry.path().filename().string())) << entry.path();
  }
}

TEST(FileSet, AFileHoldsWhatWasWrittenWhateverEndWasExpected) {
  struct Case {
    const char* what;
    uint64_t expected_end;
  };
  const Case cases[] = {{"the end told right", 11}, {"more room than written", 1 << 20}, {"less room", 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    write_bytes(folder.path() / "a", std::string(2 << 20, 'o'));  // an older, longer file
    FileSet files(folder.path());
    files.add_with("a", [&c](ByteSink& out) {
      out.expect_end(c.expected_end);
      out.append("hello world");
    });
    files.commit();
    EXPECT_EQ(read_file(folder.path() / "a"), "hello world");
  }
}

TEST(FileSet, CommitReplacesTheSetKeepsPermissionsAndRemovesWhatItWasAskedTo) {
  TempFolder folder;
  write_bytes(folder.path() / "private", "older");
  std::filesystem::permissions(folder.path() / "private", std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::owner_write);
  write_bytes(folder.path() / "source", "read back");
  const mode_t mask = ::umask(022);
  {
    FileSet files(folder.path());
    files.add("private", "newer");
    files.add("fresh", "new file");
    const std::filesystem::path intermediate = files.add_intermediate("source", "read back");
    EXPECT_TRUE(std::filesystem::exists(intermediate));
    EXPECT_EQ(files.changed_older_files(), std::vector<std::string>{"private"});
    files.remove_at_commit("source");
    files.commit();
  }
  ::umask(mask);
  EXPECT_EQ(folder_contents(folder.path()),
            (std::vector<std::pair<std::string, std::string>>{{"fresh", "new file"}, {"private", "newer"}}));
  EXPECT_EQ(permission_bits(folder.path() / "private"), 0600u);
  EXPECT_EQ(permission_bits(folder.path() / "fresh"), 0644u);
}

TEST(FileSet, TellsWhichOlderFilesDifferFromWhatItStaged) {
  TempFolder folder;
  write_bytes(folder.path() / "same", "same");
  write_bytes(folder.path() / "edited", "edited by hand");
  write_bytes(folder.path() / "edited source", "edited by hand");
  std::filesystem::create_directory(folder.path() / "folder");
  FileSet files(folder.path());
  files.add("same", "same");
  files.add("edited", "as written");
  files.add("absent", "new");
  files.add("folder", "a file");
  files.add_intermediate("edited source", "as written");
  EXPECT_EQ(files.changed_older_files(), (std::vector<std::string>{"edited", "folder", "edited source"}));
}

TEST(FileSet, SweepsTheTemporariesOfEndedRunsOnly) {
  TempFolder folder;
  const std::string ended = std::to_string(ended_process());
  const std::string living = std::to_string(::getppid());
  const std::string kept[] = {".Prova_7.dat.tmp-" + living + "-0", "notes.tmp-old", "Prova_7.dat.tmp-" + ended,
                              ".tmp-" + ended + "-1"};
  const std::string swept[] = {".Prova_7.dat.tmp-" + ended + "-3", "Prova_7.sim.tmp-" + ended + "-0"};
  for (const std::string& name : kept) write_bytes(folder.path() / name, "x");
  for (const std::string& name : swept) write_bytes(folder.path() / name, "x");
  { FileSet files(folder.path()); }
  for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(folder.path() / name)) << name;
  for (const std::string& name : swept) EXPECT_FALSE(std::filesystem::exists(folder.path() / name)) << name;
}

}  // namespace
}  // namespace scenario
