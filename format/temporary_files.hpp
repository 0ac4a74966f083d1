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

// Whether `file_name` has the shape of a temporary file of a run (any run, living or not).
bool is_temporary_file_name(std::string_view file_name);

// The process that made `file_name` when it is exactly `prefix` followed by "PID-N", the
// way this program ends the names it makes up; none otherwise.
std::optional<pid_t> maker_after_prefix(std::string_view file_name, std::string_view prefix);

// The process that made `file_name` as a temporary of the file `target`: exactly
// ".TARGET.tmp-PID-N". None for any other name.
std::optional<pid_t> temporary_maker(std::string_view file_name, std::string_view target);

// Whether the process has ended. One of another user answers EPERM: it lives.
bool process_is_gone(pid_t process);

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
