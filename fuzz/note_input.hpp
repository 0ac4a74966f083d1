#pragma once

// One fuzz input read as the commit note of a run of process 4242, by a run whose set is
// "Prova_7.dat" and "Prova_7.sim". A note that is obeyed must name only files of the set,
// each renamed from a temporary of the note's own run: anything else is a finding. Shared
// by the fuzzer and the regression test that replays the corpus.
#include <cstdlib>
#include <string>
#include <string_view>

#include "format/commit_note.hpp"
#include "format/temporary_files.hpp"

namespace scenario::fuzzing {

inline void read_note_fuzz_input(std::string_view input) {
  constexpr pid_t kMaker = 4242;
  static const std::string set[] = {"Prova_7.dat", "Prova_7.sim"};
  const CommitNoteReading reading = read_commit_note(input, kMaker, set);
  if (!reading.fault.empty() && !reading.renames.empty()) std::abort();
  for (const auto& [temporary, name] : reading.renames) {
    if (name != set[0] && name != set[1]) std::abort();
    if (temporary_maker(temporary, name) != kMaker) std::abort();
  }
}

}  // namespace scenario::fuzzing
