#pragma once

#include <signal.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

// The temporary files of a run: their names, the living ones that a signal removes, and
// the leftovers of runs killed outright.

// ".NAME.tmp-PID-N": hidden, and telling which process made it.
std::string temporary_file_name(const std::string& name, pid_t process, unsigned counter);

// Whether `file_name` is the temporary file of a run (any run, living or not).
bool is_temporary_file_name(std::string_view file_name);

// The process that made a temporary file of this name, or none when the name is not one.
std::optional<pid_t> temporary_file_maker(std::string_view file_name);

// A commit note: written once every file of a set is complete and before the first
// rename, removed after the last. A run killed between the two leaves it behind, and the
// next run into the folder finishes the renames it lists.
// ".scenario-set.commit-PID-N".
std::string commit_note_name(pid_t process, unsigned counter);
// Its content: "TEMPORARY<tab>NAME" per line, then "end".
std::string commit_note(const std::vector<std::pair<std::string, std::string>>& renames);

// Finishes the commits of runs that are gone, then deletes the temporary files in
// `folder` whose maker is gone. Best effort: a folder that cannot be listed or a file
// that cannot be renamed or deleted is left as it is.
void sweep_temporary_files(const std::filesystem::path& folder);

// The living temporary files, known to the signal handler. register_ returns a slot (or -1
// when none is free; the file is then only swept by a later run).
int register_temporary_file(const std::string& path);
void unregister_temporary_file(int slot);

// Holds back SIGINT, SIGTERM and SIGHUP for its lifetime; one that arrives meanwhile is
// handled when the hold ends.
class SignalHold {
 public:
  SignalHold();
  ~SignalHold();
  SignalHold(const SignalHold&) = delete;
  SignalHold& operator=(const SignalHold&) = delete;

 private:
  sigset_t before_;
};

// Makes SIGINT, SIGTERM and SIGHUP remove every registered temporary file before the
// program ends the way the signal ends it.
void remove_temporaries_on_signal();

}  // namespace scenario
