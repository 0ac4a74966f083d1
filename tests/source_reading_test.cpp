// Sources as authors and scripts hand them over: a file, a FIFO, a process substitution;
// and what is refused before anything is read: a source too large, a loop of links.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

using testing::contains;
using testing::shell_quoted;
using testing::TempFolder;

TEST(SourceReading, EachSourceIsReadOnceFromWhateverItIs) {
  TempFolder folder;
  const auto texts = testing::run_seam({"sources"}, folder.path());
  ASSERT_EQ(texts.exit_status, 0) << texts.err;
  const std::string program = shell_quoted(SCENARIO_BUILDER_EXE);
  ASSERT_EQ(::mkfifo((folder.path() / "line.fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("loop.txt", folder.path() / "Loop_linea.txt");
  std::filesystem::create_symlink("Loop_linea.txt", folder.path() / "loop.txt");
  const std::string compile = program + " compile --name Out --number 5 ";
  const std::string service = " Milano_Tortona_5-.txt";
  struct Case {
    const char* what;
    std::string command;  // run by bash in the folder
    int exit_status;
    std::string error;  // "" for none
  };
  const Case cases[] = {
      {"a regular file", compile + "Milano_Tortona_linea.txt" + service, 0, ""},
      // The writer opens the FIFO only once: a probe before the read would take its data.
      {"a FIFO", "cat Milano_Tortona_linea.txt > line.fifo & " + compile + "line.fifo" + service, 0, ""},
      {"process substitutions", compile + "<(cat Milano_Tortona_linea.txt) <(cat Milano_Tortona_5-.txt)", 0, ""},
      {"a device without end", compile + "/dev/zero" + service, 2,
       "cannot read the line source '/dev/zero': larger than 64 MiB, the most it may hold"},
      {"a pipe without end", compile + "<(yes)" + service, 2, "larger than 64 MiB, the most it may hold"},
      {"a loop of links", compile + "Loop_linea.txt" + service, 2,
       "cannot read the line source 'Loop_linea.txt': a loop of symbolic links"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(folder.path() / "Out_5.dat");
    const TempFolder scratch;
    const auto run = testing::run_program("cd " + shell_quoted(folder.path().string()) + " && NO_COLOR=1 bash -c " +
                                              shell_quoted(c.command),
                                          scratch.path());
    EXPECT_EQ(run.exit_status, c.exit_status) << run.err;
    EXPECT_EQ(std::filesystem::exists(folder.path() / "Out_5.dat"), c.exit_status == 0);
    if (!c.error.empty()) {
      EXPECT_TRUE(contains(run.err, c.error));
    }
  }
}

}  // namespace
}  // namespace scenario
