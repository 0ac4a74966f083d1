// Runs into one folder that are killed, that run at the same time, or that find files they
// did not write: the folder always holds one whole set of compiled files, and nothing of
// anybody else's is lost.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/route_generator.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "format/scenario_files.hpp"
#include "format/temporary_files.hpp"
#include "tests/program_runner.hpp"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::folder_contents;
using testing::TempFolder;
using testing::write_bytes;

const char* const kCompiledFiles[] = {"Gen_linea.dat", "Gen_1.sim", "Gen_1.dat"};

// `program` started in `folder` with its output thrown away; returns its process id.
pid_t start(const fs::path& program, const std::vector<std::string>& arguments, const fs::path& folder) {
  std::vector<std::string> words{program.string()};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int nothing = ::open("/dev/null", O_RDWR);
    ::dup2(nothing, 0);
    ::dup2(nothing, 1);
    ::dup2(nothing, 2);
    if (::chdir(folder.c_str()) == 0) ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return child;
}

pid_t start_program(const std::vector<std::string>& arguments, const fs::path& folder) {
  return start(SCENARIO_BUILDER_EXE, arguments, folder);
}

// The exit status, or 128 + the signal that ended it.
int wait_for(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::map<std::string, std::string> compiled_set(const fs::path& folder) {
  std::map<std::string, std::string> set;
  for (const char* name : kCompiledFiles) set[name] = fs::exists(folder / name) ? read_file(folder / name) : "";
  return set;
}

std::vector<std::string> temporaries_in(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (is_temporary_file_name(entry.path().filename().string())) found.push_back(entry.path().filename().string());
  }
  return found;
}

bool commit_note_in(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().find(".commit-") != std::string::npos) return true;
  }
  return false;
}

// Two generated routes of different lengths, compiled under one name into `folder`.
struct TwoRoutes {
  TempFolder sources;
  std::vector<std::string> compile(const std::string& route, const fs::path& out) const {
    return {"compile", (sources.path() / (route + "_linea.txt")).string(), (sources.path() / (route + "_1-.txt")).string(),
            "--name", "Gen", "--number", "1", "-o", out.string()};
  }
  TwoRoutes() {
    for (const auto& [route, length] : {std::pair<std::string, int32_t>{"Short", 100000}, {"Long", 250000}}) {
      const auto texts = bench::generate_route(length);
      write_bytes(sources.path() / (route + "_linea.txt"), texts.line);
      write_bytes(sources.path() / (route + "_1-.txt"), texts.service);
    }
  }
};

TEST(FolderRuns, AKilledCompileLeavesTheWholeOldOrTheWholeNewSet) {
  const TwoRoutes routes;
  TempFolder out, reference;
  ASSERT_EQ(wait_for(start_program(routes.compile("Short", out.path()), out.path())), 0);
  const auto older = compiled_set(out.path());
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(wait_for(start_program(routes.compile("Long", reference.path()), reference.path())), 0);
  const auto run_time = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
  const auto newer = compiled_set(reference.path());

  std::mt19937 random(12345);
  std::uniform_int_distribution<int64_t> moment(0, run_time.count() * 5 / 4);
  for (int round = 0; round < 16; ++round) {
    const int signal_number = round % 2 == 0 ? SIGKILL : SIGTERM;
    SCOPED_TRACE("round " + std::to_string(round) + ", signal " + std::to_string(signal_number));
    const pid_t child = start_program(routes.compile("Long", out.path()), out.path());
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(child, signal_number);
    const int status = wait_for(child);
    // Killed outright in the instant between its renames, a run leaves a note that says
    // how the set ends, and the next run into the folder ends it so.
    const auto found = compiled_set(out.path());
    EXPECT_TRUE(found == older || found == newer || commit_note_in(out.path()));
    if (signal_number == SIGTERM) {
      EXPECT_TRUE(status == 0 || status == 128 + SIGTERM) << status;
      EXPECT_EQ(temporaries_in(out.path()), std::vector<std::string>{});
    }
    { const FileSet next_run(out.path(), scenario_file_names("Gen", "1").compiled()); }
    const auto recovered = compiled_set(out.path());
    EXPECT_TRUE(recovered == older || recovered == newer);
    EXPECT_EQ(temporaries_in(out.path()), std::vector<std::string>{});
    EXPECT_FALSE(commit_note_in(out.path()));
    // Back to the older set, without the program's help.
    for (const auto& [name, bytes] : older) write_bytes(out.path() / name, bytes);
  }
  ASSERT_EQ(wait_for(start_program(routes.compile("Long", out.path()), out.path())), 0);
  EXPECT_TRUE(compiled_set(out.path()) == newer);
  EXPECT_EQ(temporaries_in(out.path()), std::vector<std::string>{});
}

TEST(FolderRuns, CompilesIntoOneFolderAtOnceLeaveOneWholeSet) {
  const TwoRoutes routes;
  TempFolder out, short_reference, long_reference;
  ASSERT_EQ(wait_for(start_program(routes.compile("Short", short_reference.path()), short_reference.path())), 0);
  ASSERT_EQ(wait_for(start_program(routes.compile("Long", long_reference.path()), long_reference.path())), 0);
  const auto short_set = compiled_set(short_reference.path()), long_set = compiled_set(long_reference.path());
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const pid_t first = start_program(routes.compile(round % 2 ? "Short" : "Long", out.path()), out.path());
    const pid_t second = start_program(routes.compile(round % 2 ? "Long" : "Short", out.path()), out.path());
    EXPECT_EQ(wait_for(first), 0);
    EXPECT_EQ(wait_for(second), 0);
    const auto found = compiled_set(out.path());
    EXPECT_TRUE(found == short_set || found == long_set);
    EXPECT_EQ(temporaries_in(out.path()), std::vector<std::string>{});
  }
}

TEST(FolderRuns, TwoBuiltInRunsAtOnceBothEndWithTheWholeSet) {
  TempFolder alone, together;
  // Started from elsewhere, the program writes beside itself.
  ASSERT_EQ(wait_for(start(testing::copy_program_into(alone.path()), {}, "/")), 0);
  const auto expected = folder_contents(alone.path());
  const fs::path program = testing::copy_program_into(together.path());
  const pid_t first = start(program, {}, "/"), second = start(program, {}, "/");
  EXPECT_EQ(wait_for(first), 0);
  EXPECT_EQ(wait_for(second), 0);
  EXPECT_EQ(folder_contents(together.path()), expected);
  EXPECT_EQ(temporaries_in(together.path()), std::vector<std::string>{});
}

// The built-in run beside files it did not write: it stops, names the file, and the folder
// stays exactly as it was.
TEST(FolderRuns, TheBuiltInRunChangesNothingBesideFilesItDidNotWrite) {
  struct Case {
    const char* file;
    std::function<void(const fs::path&)> prepare;
    const char* reason = ": differs from what the built-in build writes";
  };
  const auto edited = [](const char* name) {
    return [name](const fs::path& folder) {
      std::string bytes = read_file(folder / name);
      bytes.insert(0, "edited\r\n");
      write_bytes(folder / name, bytes);
    };
  };
  const auto from_sources_command = [](const fs::path& folder) {
    const auto run = testing::run_seam({"sources", "-o", folder.string()}, folder);
    ASSERT_EQ(run.exit_status, 0) << run.err;
  };
  const Case cases[] = {
      {"Milano_Tortona_linea.txt", [&](const fs::path& folder) {
         from_sources_command(folder);
         edited("Milano_Tortona_linea.txt")(folder);
       }},
      {"Milano_Tortona_5_note.txt", [&](const fs::path& folder) {
         from_sources_command(folder);
         edited("Milano_Tortona_5_note.txt")(folder);
       }},
      {"Milano_Tortona_5.sim", [](const fs::path& folder) { write_bytes(folder / "Milano_Tortona_5.sim", "my own"); }},
      {"Milano_Tortona_5_scheda_treno.txt",
       [](const fs::path& folder) { fs::create_directory(folder / "Milano_Tortona_5_scheda_treno.txt"); },
       ": cannot replace: it is a folder"},
      {"Milano_Tortona_5.dat",
       [](const fs::path& folder) { ASSERT_EQ(::mkfifo((folder / "Milano_Tortona_5.dat").c_str(), 0600), 0); },
       ": cannot replace: it is a FIFO"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TempFolder folder;
    c.prepare(folder.path());
    const auto before = folder_contents(folder.path());
    const auto run = testing::run_build_seam(folder.path());
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.err.find(std::string(c.file) + c.reason), std::string::npos)
        << run.err;
    EXPECT_EQ(folder_contents(folder.path()), before);
    EXPECT_EQ(temporaries_in(folder.path()), std::vector<std::string>{});
  }
}

// The check that a file is already there and the write that would replace it are one step
// under the folder's lock: of two runs at once, one writes and the other refuses.
TEST(FolderRuns, OfTwoRunsThatMayNotReplaceOneWritesAndTheOtherRefuses) {
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    TempFolder folder;
    const pid_t one = start_program({"sources", "-o", "out"}, folder.path());
    const pid_t other = start_program({"sources", "-o", "out"}, folder.path());
    const int statuses[] = {wait_for(one), wait_for(other)};
    EXPECT_EQ(std::min(statuses[0], statuses[1]), 0);
    EXPECT_EQ(std::max(statuses[0], statuses[1]), 2);
    EXPECT_EQ(folder_contents(folder.path() / "out").size(), 5u);
  }
}

// A run that finds the folder taken gives up at once with --no-wait; without it, it says
// that it waits once a few seconds have gone, and writes when its turn comes.
TEST(FolderRuns, ARunWaitsForItsTurnAndSaysSo) {
  TempFolder folder;
  std::optional<FileSet> holder;
  holder.emplace(folder.path(), std::vector<std::string>{"held"});
  const auto given_up = testing::run_builder({"sources", "--no-wait"}, folder.path());
  EXPECT_EQ(given_up.exit_status, 2);
  EXPECT_NE(given_up.err.find("another run is writing into the folder"), std::string::npos) << given_up.err;

  // Released well after the run's three seconds of quiet waiting, however slowly it starts.
  std::thread releaser([&holder] {
    std::this_thread::sleep_for(std::chrono::milliseconds(6500));
    holder.reset();
  });
  const auto waited = testing::run_builder({"sources"}, folder.path());
  releaser.join();
  EXPECT_EQ(waited.exit_status, 0) << waited.err;
  EXPECT_NE(waited.err.find("warning: waiting for another run into '.' to finish"), std::string::npos) << waited.err;
  EXPECT_EQ(folder_contents(folder.path()).size(), 5u);
}

// Only a regular file or nothing is replaced, whatever the command: a FIFO, a link to a
// device or a folder at the output's name is refused before anything is written.
TEST(FolderRuns, OnlyARegularFileOrNothingIsReplaced) {
  TempFolder folder;
  ASSERT_EQ(testing::run_build_seam(folder.path()).exit_status, 0);
  ASSERT_EQ(::mkfifo((folder.path() / "pipe.svg").c_str(), 0600), 0);
  fs::create_symlink("/dev/null", folder.path() / "null.svg");
  fs::create_directory(folder.path() / "out");
  fs::create_directory(folder.path() / "out" / "Milano_Tortona_5.sim");
  struct Case {
    std::vector<std::string> arguments;
    const char* refused;
  };
  const Case cases[] = {
      {{"plot", "-o", "pipe.svg"}, "pipe.svg: cannot replace: it is a FIFO"},
      {{"plot", "-o", "null.svg"}, "null.svg: cannot replace: it is a symbolic link to a character device"},
      {{"compile", "Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt", "-o", "out"},
       "Milano_Tortona_5.sim: cannot replace: it is a folder"},
  };
  ASSERT_EQ(testing::run_seam({"sources", "--force"}, folder.path()).exit_status, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    const auto before = folder_contents(folder.path());
    const auto run = testing::run_seam(c.arguments, folder.path());
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.err.find(c.refused), std::string::npos) << run.err;
    EXPECT_EQ(folder_contents(folder.path()), before);
    EXPECT_EQ(folder_contents(folder.path() / "out"), (std::vector<std::pair<std::string, std::string>>{}));
  }
  struct stat status {};
  EXPECT_EQ(::lstat((folder.path() / "pipe.svg").c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

// A name with a control character would break the commit note of its files and reach the
// terminal raw: refused, whichever way it comes.
TEST(FolderRuns, ANameWithAControlCharacterIsRefused) {
  TempFolder folder;
  ASSERT_EQ(testing::run_seam({"sources"}, folder.path()).exit_status, 0);
  const std::vector<std::string> sources = {"Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt"};
  for (const std::vector<std::string>& extra :
       {std::vector<std::string>{"--name", "a\nb"}, {"--number", "5\t6"}, {"--name", "a\x1b[2Jb"}}) {
    std::vector<std::string> arguments = {"compile", sources[0], sources[1], "-o", "out"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const auto run = testing::run_seam(arguments, folder.path());
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.err.find("holds a control character"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(folder.path() / "out"));
  }
}

}  // namespace
}  // namespace scenario
