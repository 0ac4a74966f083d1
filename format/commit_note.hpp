#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenario {

// The commit note of a set of files: written once every file of the set is complete and
// before the first rename, removed after the last. A run killed between the two leaves it
// behind, and the next run into the folder with the same set finishes the renames it lists.
// Named ".scenario-set.commit-PID-N"; it holds "TEMPORARY<tab>NAME" per line, then "end".
//
// Whatever lies in a folder may have been put there by anyone: a note is obeyed only when
// every line renames a temporary of its own maker, named as this program names them, over
// one of the names of the reading run's own set.

std::string commit_note_name(pid_t process, unsigned counter);
// The process that wrote a note of this name, or none when the name is not exactly one.
std::optional<pid_t> commit_note_maker(std::string_view file_name);

// The most a note may hold: a set's few names, each at most a file name long, twice.
inline constexpr size_t kMaxCommitNoteBytes = 16 << 10;

using Renames = std::vector<std::pair<std::string, std::string>>;  // temporary, name

std::string commit_note(const Renames& renames);

// A note read: the renames it asks for, or why it is not obeyed.
struct CommitNoteReading {
  Renames renames;
  std::string fault;  // "" when the note may be obeyed
};

// Reads the text of a note written by `maker`, for a run whose set is `set`.
CommitNoteReading read_commit_note(std::string_view note, pid_t maker, std::span<const std::string> set);

}  // namespace scenario
