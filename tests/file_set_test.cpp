// A set of files replaced together: a failure before the commit leaves every older file,
// the older permissions stay, and the leftovers of killed runs go while living runs keep
// theirs.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>

#include "format/commit_note.hpp"
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
      if (c.fails_while_writing) {
        FileSet files(folder.path(), {"a", "b", "c"});
        files.add("a", "new a");
        files.add_with("b", [](ByteSink& out) { out.append("new b"); });
        EXPECT_THROW(files.add_with("c",
                                    [](ByteSink& out) {
                                      out.append("new c, half");
                                      throw FileError("c", "cannot write: No space left on device");
                                    }),
                     FileError);
      } else {
        // Found before anything is written.
        EXPECT_THROW(FileSet(folder.path(), {"a", "b", "c"}), FileError);
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
    FileSet files(folder.path(), {"a"});
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
    FileSet files(folder.path(), {"private", "fresh", "source"});
    files.add("private", "newer");
    files.add("fresh", "new file");
    files.add_unwritten("source", "read back");
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
  write_bytes(folder.path() / "longer", "as written, and more");
  FileSet files(folder.path(), {"same", "edited", "absent", "longer", "edited source"});
  files.add("same", "same");
  files.add("edited", "as written");
  files.add("absent", "new");
  files.add("longer", "as written");
  files.add_unwritten("edited source", "as written");
  EXPECT_EQ(files.changed_older_files(), (std::vector<std::string>{"edited", "longer", "edited source"}));
}


// What a planted entry is, seen without following links: its kind and, for a file, its
// bytes; "" when nothing is there.
std::string entry_state(const std::filesystem::path& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return "";
  if (S_ISLNK(status.st_mode)) return "link to " + std::filesystem::read_symlink(path).string();
  if (S_ISFIFO(status.st_mode)) return "fifo";
  if (!S_ISREG(status.st_mode)) return "other";
  return status.st_size > (1 << 20) ? "large file" : "file: " + read_file(path);
}

// The set of the runs below, and its note and temporaries as a run of `process` names them.
const std::vector<std::string> kSet = {"Prova_7.dat", "Prova_7.sim"};
std::string note_of(pid_t process) { return commit_note_name(process, 0); }
std::string temporary_of(const std::string& name, pid_t process, unsigned count = 0) {
  return temporary_file_name(name, process, count);
}

TEST(FileSet, LeftoversThatAreNotItsOwnNeverSteerARun) {
  // Each case plants entries in the run's folder (and a file outside it) before a run that
  // replaces the set; whatever is not a leftover of the set's own, named and made as this
  // program makes them, stays exactly as it was, and a note that does not fit is named.
  using Plant = std::function<std::string(const std::filesystem::path& folder, const std::filesystem::path& outside,
                                          pid_t ended)>;  // returns the note to be warned of, or ""
  struct Case {
    std::string what;
    Plant plant;
  };
  // Notes of plain text beside plain files: "{folder}" and "{outside}" stand for the two
  // folders, "{other}" for a temporary of the set named for a living process and "{own}"
  // for one of the note's own run.
  const auto plain_note = [](std::vector<std::string> files, std::string note) -> Plant {
    return [files, note](const std::filesystem::path& folder, const std::filesystem::path& outside, pid_t ended) {
      const auto filled = [&](std::string text) {
        const std::pair<std::string, std::string> holes[] = {{"{folder}", folder.string()},
                                                             {"{outside}", outside.string()},
                                                             {"{other}", temporary_of("Prova_7.dat", ::getppid())},
                                                             {"{own}", temporary_of("Prova_7.dat", ended, 6)}};
        for (const auto& [hole, value] : holes)
          for (size_t at; (at = text.find(hole)) != std::string::npos;) text.replace(at, hole.size(), value);
        return text;
      };
      for (const std::string& file : files) write_bytes(folder / filled(file), "planted");
      write_bytes(folder / note_of(ended), filled(note));
      return note_of(ended);
    };
  };
  const Case cases[] = {
      {"a note renaming over a file outside the folder", plain_note({"evil"}, "{folder}/evil\t{outside}/victim\nend\n")},
      {"a note naming a path up and out", plain_note({"evil"}, "evil\t../outside/victim\nend\n")},
      {"a note renaming one file of the folder over another",
       plain_note({"thesis.txt", "notes.txt"}, "thesis.txt\tnotes.txt\nend\n")},
      {"a note renaming a look-alike over a file of the set",
       plain_note({"thesis.txt"}, "thesis.txt\tProva_7.dat\nend\n")},
      {"a note renaming another run's temporary", plain_note({"{other}"}, "{other}\tProva_7.dat\nend\n")},
      {"a note naming a file twice", plain_note({}, "{own}\tProva_7.dat\n{own}\tProva_7.dat\nend\n")},
      {"a note without its end line", plain_note({}, "{own}\tProva_7.dat\n")},
      {"a note whose temporary is a link out of the folder",
       [](const std::filesystem::path& folder, const std::filesystem::path& outside, pid_t ended) {
         const std::string linked = temporary_of("Prova_7.dat", ended, 5);
         std::filesystem::create_symlink(outside / "victim", folder / linked);
         write_bytes(folder / note_of(ended), linked + "\tProva_7.dat\nend\n");
         return note_of(ended);
       }},
      {"a note that is a link to /dev/zero",
       [](const std::filesystem::path& folder, const std::filesystem::path&, pid_t ended) {
         std::filesystem::create_symlink("/dev/zero", folder / note_of(ended));
         return note_of(ended);
       }},
      {"a note that is a FIFO",
       [](const std::filesystem::path& folder, const std::filesystem::path&, pid_t ended) {
         EXPECT_EQ(::mkfifo((folder / note_of(ended)).c_str(), 0600), 0);
         return note_of(ended);
       }},
      {"a huge sparse note",
       [](const std::filesystem::path& folder, const std::filesystem::path&, pid_t ended) {
         write_bytes(folder / note_of(ended), "x");
         std::filesystem::resize_file(folder / note_of(ended), uint64_t{3} << 30);
         return note_of(ended);
       }},
      {"look-alike names of ended processes",
       [](const std::filesystem::path& folder, const std::filesystem::path&, pid_t ended) {
         const std::string pid = std::to_string(ended);
         for (const std::string& name :
              {"thesis.tmp-" + pid + "-1", ".backup.tmp-" + pid + "-0", "build.commit-" + pid + "-7",
               "Prova_7.dat.tmp-" + pid + "-0", ".Prova_7.dat.tmp-" + pid + "-0x", ".Prova_7.dat.tmp-" + pid,
               ".Prova_7.txt.tmp-" + pid + "-0", ".scenario-set.commit-" + pid})
           write_bytes(folder / name, "mine");
         return std::string();
       }},
      {"a temporary's name on a link, a FIFO and a folder",
       [](const std::filesystem::path& folder, const std::filesystem::path& outside, pid_t ended) {
         std::filesystem::create_symlink(outside / "victim", folder / temporary_of("Prova_7.dat", ended, 1));
         EXPECT_EQ(::mkfifo((folder / temporary_of("Prova_7.dat", ended, 2)).c_str(), 0600), 0);
         std::filesystem::create_directory(folder / temporary_of("Prova_7.sim", ended, 3));
         return std::string();
       }},
  };
  const pid_t ended = ended_process();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder top;
    const std::filesystem::path folder = top.path() / "out", outside = top.path() / "outside";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(outside);
    write_bytes(outside / "victim", "the user's own");
    const std::string warned_note = c.plant(folder, outside, ended);
    std::vector<std::pair<std::string, std::string>> planted;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      planted.emplace_back(entry.path().filename().string(), entry_state(entry.path()));

    std::vector<std::string> notices;
    SetOptions options;
    options.notice = [&notices](const std::string& message) { notices.push_back(message); };
    {
      FileSet files(folder, kSet, options);
      files.add("Prova_7.dat", "new cells");
      files.add("Prova_7.sim", "new records");
      files.commit();
    }
    for (const auto& [name, state] : planted) EXPECT_EQ(entry_state(folder / name), state) << name;
    EXPECT_EQ(entry_state(outside / "victim"), "file: the user's own");
    EXPECT_EQ(entry_state(folder / "Prova_7.dat"), "file: new cells");
    EXPECT_EQ(entry_state(folder / "Prova_7.sim"), "file: new records");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), static_cast<long>(planted.size() + 2));
    if (warned_note.empty()) {
      EXPECT_EQ(notices, std::vector<std::string>{});
    } else {
      ASSERT_EQ(notices.size(), 1u);
      EXPECT_NE(notices[0].find("ignoring the commit note '" + (folder / warned_note).string() + "'"), std::string::npos)
          << notices[0];
    }
  }
}

TEST(FileSet, FinishesTheCommitOfItsOwnSetAndSweepsItsOwnTemporaries) {
  TempFolder folder;
  const pid_t ended = ended_process();
  write_bytes(folder.path() / "Prova_7.dat", "older cells");
  write_bytes(folder.path() / "Prova_7.sim", "newer records");  // renamed before the kill
  write_bytes(folder.path() / temporary_of("Prova_7.dat", ended, 4), "newer cells");
  write_bytes(folder.path() / temporary_of("Prova_7.sim", ended, 9), "an older file's second name");
  write_bytes(folder.path() / note_of(ended),
              commit_note({{temporary_of("Prova_7.dat", ended, 4), "Prova_7.dat"},
                           {temporary_of("Prova_7.sim", ended, 5), "Prova_7.sim"}}));
  { FileSet next_run(folder.path(), kSet); }
  EXPECT_EQ(folder_contents(folder.path()),
            (std::vector<std::pair<std::string, std::string>>{{"Prova_7.dat", "newer cells"},
                                                              {"Prova_7.sim", "newer records"}}));
}

TEST(FileSet, OnlyARegularFileOrNothingIsReplaced) {
  struct Case {
    const char* what;
    void (*plant)(const std::filesystem::path& target);
    const char* reason;
  };
  const Case cases[] = {
      {"a folder", [](const std::filesystem::path& target) { std::filesystem::create_directory(target); }, "a folder"},
      {"a FIFO", [](const std::filesystem::path& target) { EXPECT_EQ(::mkfifo(target.c_str(), 0600), 0); }, "a FIFO"},
      {"a link to a device",
       [](const std::filesystem::path& target) { std::filesystem::create_symlink("/dev/null", target); },
       "a symbolic link to a character device"},
      {"a link to a folder",
       [](const std::filesystem::path& target) { std::filesystem::create_symlink("/", target); },
       "a symbolic link to a folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder;
    write_bytes(folder.path() / "a", "older a");
    c.plant(folder.path() / "b");
    const auto before = folder_contents(folder.path());
    try {
      FileSet files(folder.path(), {"a", "b"});
      ADD_FAILURE() << "not refused";
    } catch (const FileError& e) {
      EXPECT_EQ(e.path(), folder.path() / "b");
      EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.reason();
    }
    EXPECT_EQ(folder_contents(folder.path()), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
  }
}

TEST(FileSet, ARenameThatFailsAllTheSamePutsBackTheRenamesBeforeIt) {
  // The checks let the set pass; then something takes the last file's place, as a file
  // system out of room for a name or another program would.
  TempFolder folder;
  write_bytes(folder.path() / "a", "older a");
  write_bytes(folder.path() / "c", "older c");
  const auto before = folder_contents(folder.path());
  SetOptions options;
  options.before_rename = [&folder](const std::string& name) {
    if (name != "c") return;
    std::filesystem::remove(folder.path() / "c");
    std::filesystem::create_directories(folder.path() / "c" / "in the way");
  };
  try {
    FileSet files(folder.path(), {"a", "b", "c"}, options);
    files.add("a", "new a");
    files.add("b", "new b");
    files.add("c", "new c");
    files.commit();
    ADD_FAILURE() << "the commit did not fail";
  } catch (const FileError& e) {
    EXPECT_NE(e.reason().find("nothing was replaced"), std::string::npos) << e.reason();
  }
  std::filesystem::remove_all(folder.path() / "c");
  write_bytes(folder.path() / "c", "older c");
  EXPECT_EQ(folder_contents(folder.path()), before);  // "b" was new: it is gone again
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

TEST(FileSet, ASetThatMayNotReplaceRefusesUnderTheLockWhatIsThere) {
  TempFolder folder;
  write_bytes(folder.path() / "b", "an author's own");
  SetOptions keep;
  keep.replace = false;
  try {
    FileSet files(folder.path(), {"a", "b"}, keep);
    ADD_FAILURE() << "not refused";
  } catch (const FilesAlreadyThere& e) {
    EXPECT_EQ(e.names(), std::vector<std::string>{"b"});
  }
  // A file that comes after the set was made, by a writer that takes no turns, is found
  // at the commit.
  std::filesystem::remove(folder.path() / "b");
  FileSet files(folder.path(), {"a", "b"}, keep);
  files.add("a", "new a");
  files.add("b", "new b");
  write_bytes(folder.path() / "b", "written meanwhile");
  EXPECT_THROW(files.commit(), FilesAlreadyThere);
  EXPECT_EQ(read_file(folder.path() / "b"), "written meanwhile");
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "a"));
}

TEST(FileSet, RefusesNamesThatAreNotPlainFileNames) {
  TempFolder folder;
  for (const std::string name : {"", ".", "..", "../x", "a/b", "a\nb", "a\tb", "a\x1b[31mb"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(FileSet(folder.path(), {name}), FileError);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0);
}

bool set_inode_flags(const std::filesystem::path& target, long flags) {
  const int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
  const bool set = fd >= 0 && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  if (fd >= 0) ::close(fd);
  return set;
}

// What only the superuser can set up here: a file mounted over a target, an immutable or
// append-only target. A rename fails on each; the set finds it before it writes anything.
// Where the set-up is not allowed, the case is left out with a word.
TEST(FileSet, TargetsThatNoRenameReplacesAreFoundBeforeAnythingIsWritten) {
  struct Case {
    const char* what;
    bool (*set_up)(const std::filesystem::path& target, const std::filesystem::path& other);
    void (*tear_down)(const std::filesystem::path& target);
    const char* reason;
  };
  const Case cases[] = {
      {"a mount point",
       [](const std::filesystem::path& target, const std::filesystem::path& other) {
         return ::mount(other.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) == 0;
       },
       [](const std::filesystem::path& target) { ::umount(target.c_str()); }, "it is a mount point"},
      {"an immutable file",
       [](const std::filesystem::path& target, const std::filesystem::path&) {
         return set_inode_flags(target, FS_IMMUTABLE_FL);
       },
       [](const std::filesystem::path& target) { set_inode_flags(target, 0); }, "it is immutable or append-only"},
      {"an append-only file",
       [](const std::filesystem::path& target, const std::filesystem::path&) {
         return set_inode_flags(target, FS_APPEND_FL);
       },
       [](const std::filesystem::path& target) { set_inode_flags(target, 0); }, "it is immutable or append-only"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder folder, elsewhere;
    write_bytes(folder.path() / "a", "older a");
    write_bytes(folder.path() / "b", "older b");
    write_bytes(elsewhere.path() / "other", "another file");
    if (!c.set_up(folder.path() / "b", elsewhere.path() / "other")) {
      std::cout << "left out, not allowed here: " << c.what << "\n";
      continue;
    }
    const auto before = folder_contents(folder.path());
    try {
      FileSet files(folder.path(), {"a", "b"});
      ADD_FAILURE() << "not refused";
    } catch (const FileError& e) {
      EXPECT_EQ(e.reason(), std::string("cannot replace: ") + c.reason);
    }
    EXPECT_EQ(folder_contents(folder.path()), before);
    c.tear_down(folder.path() / "b");
  }
}

}  // namespace
}  // namespace scenario
