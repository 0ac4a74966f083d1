#include "format/commit_note.hpp"

#include <algorithm>

#include "format/file_names.hpp"
#include "format/temporary_files.hpp"

namespace scenario {
namespace {

constexpr std::string_view kNotePrefix = ".scenario-set.commit-";
constexpr std::string_view kNoteEnd = "end\n";

}  // namespace

std::string commit_note_name(pid_t process, unsigned counter) {
  return std::string(kNotePrefix) + std::to_string(process) + "-" + std::to_string(counter);
}

std::optional<pid_t> commit_note_maker(std::string_view file_name) { return maker_after_prefix(file_name, kNotePrefix); }

std::string commit_note(const Renames& renames) {
  std::string note;
  for (const auto& [temporary, name] : renames) note += temporary + "\t" + name + "\n";
  return note + std::string(kNoteEnd);
}

CommitNoteReading read_commit_note(std::string_view note, pid_t maker, std::span<const std::string> set) {
  CommitNoteReading reading;
  const auto refuse = [&reading](std::string fault) {
    reading.renames.clear();
    reading.fault = std::move(fault);
    return reading;
  };
  if (note.size() > kMaxCommitNoteBytes) return refuse("it is larger than a note may be");
  // Without its end line it was cut short before any rename: there is nothing to finish.
  if (!note.ends_with(kNoteEnd)) return refuse("it has no end line");
  note.remove_suffix(kNoteEnd.size());
  while (!note.empty()) {
    const size_t end = note.find('\n');
    if (end == std::string_view::npos) return refuse("a line has no end");
    const std::string_view line = note.substr(0, end);
    note.remove_prefix(end + 1);
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return refuse("a line is not a temporary and a name");
    const std::string_view temporary = line.substr(0, tab), name = line.substr(tab + 1);
    if (!file_name_fault(name).empty() || !file_name_fault(temporary).empty())
      return refuse("a line names something other than a file of the folder");
    if (std::find(set.begin(), set.end(), name) == set.end())
      return refuse("it names '" + std::string(name) + "', which this run does not write");
    if (temporary_maker(temporary, name) != maker)
      return refuse("'" + std::string(temporary) + "' is not a temporary of the note's run for '" + std::string(name) + "'");
    for (const auto& [earlier_temporary, earlier_name] : reading.renames)
      if (earlier_name == name) return refuse("it names '" + std::string(name) + "' twice");
    reading.renames.emplace_back(temporary, name);
  }
  if (reading.renames.empty()) return refuse("it names no file");
  return reading;
}

}  // namespace scenario
