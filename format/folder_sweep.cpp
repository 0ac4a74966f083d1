#include "format/folder_sweep.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "format/commit_note.hpp"
#include "format/temporary_files.hpp"

namespace scenario {
namespace {

// Whether the name in the folder is a plain file of this user, made by this program alone
// (one name: not a link to a file that lives elsewhere too).
bool is_own_plain_file(int folder_fd, const std::string& name) {
  struct stat status {};
  return ::fstatat(folder_fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode) &&
         status.st_uid == ::geteuid() && status.st_nlink == 1;
}

// The text of a note, read without following a link, from a regular file of this user
// of at most the size a note may have; otherwise why not.
std::optional<std::string> note_text(int folder_fd, const std::string& note_name, std::string& fault) {
  // Not blocking: a FIFO in the note's place must not hold the run.
  const int fd = ::openat(folder_fd, note_name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    fault = errno == ELOOP ? "it is a symbolic link" : std::string("cannot open it: ") + std::strerror(errno);
    return std::nullopt;
  }
  struct stat status {};
  std::string text;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    fault = "it is not a regular file";
  } else if (status.st_uid != ::geteuid()) {
    fault = "it belongs to another user";
  } else if (static_cast<uint64_t>(status.st_size) > kMaxCommitNoteBytes) {
    fault = "it is larger than a note may be";
  } else {
    // One byte more than the note may hold tells a file that grew meanwhile.
    text.resize(kMaxCommitNoteBytes + 1);
    size_t got = 0;
    for (ssize_t n; got < text.size() && (n = ::read(fd, text.data() + got, text.size() - got)) != 0;) {
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        fault = std::string("cannot read it: ") + std::strerror(errno);
        break;
      }
      got += static_cast<size_t>(n);
    }
    text.resize(got);
  }
  ::close(fd);
  if (!fault.empty()) return std::nullopt;
  return text;
}

// Finishes the commit that a note of an ended run describes, when it fits this run's set.
void finish_commit(int folder_fd, const std::filesystem::path& folder, const std::string& note_name, pid_t maker,
                   std::span<const std::string> set, const Notice& notice) {
  std::string fault;
  const std::optional<std::string> text = note_text(folder_fd, note_name, fault);
  CommitNoteReading reading;
  if (text) reading = read_commit_note(*text, maker, set);
  if (!fault.empty() || !reading.fault.empty()) {
    if (notice)
      notice("ignoring the commit note '" + (folder / note_name).string() + "': " +
             (fault.empty() ? reading.fault : fault) + "; it is left as it is");
    return;
  }
  for (const auto& [temporary, name] : reading.renames) {
    // Renamed already, before the run was killed.
    if (::faccessat(folder_fd, temporary.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) continue;
    if (!is_own_plain_file(folder_fd, temporary)) {
      if (notice)
        notice("ignoring the commit note '" + (folder / note_name).string() + "': '" + temporary +
               "' is not a file that this program made; it is left as it is");
      return;
    }
  }
  for (const auto& [temporary, name] : reading.renames)
    ::renameat(folder_fd, temporary.c_str(), folder_fd, name.c_str());
  ::unlinkat(folder_fd, note_name.c_str(), 0);
}

}  // namespace

void sweep_folder(int folder_fd, const std::filesystem::path& folder, std::span<const std::string> set,
                  const Notice& notice) {
  const int listing_fd = ::openat(folder_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing_fd < 0) return;
  DIR* listing = ::fdopendir(listing_fd);
  if (listing == nullptr) {
    ::close(listing_fd);
    return;
  }
  std::vector<std::pair<std::string, pid_t>> notes;
  std::vector<std::string> leftovers;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (const auto maker = commit_note_maker(name); maker && process_is_gone(*maker)) notes.emplace_back(name, *maker);
    for (const std::string& target : set) {
      if (const auto maker = temporary_maker(name, target); maker && process_is_gone(*maker)) {
        leftovers.emplace_back(name);
        break;
      }
    }
  }
  ::closedir(listing);
  // Commits cut short are finished first: their files are among the leftovers.
  for (const auto& [note, maker] : notes) finish_commit(folder_fd, folder, note, maker, set, notice);
  for (const std::string& name : leftovers) {
    struct stat status {};
    if (::fstatat(folder_fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode) &&
        status.st_uid == ::geteuid())
      ::unlinkat(folder_fd, name.c_str(), 0);
  }
}

}  // namespace scenario
