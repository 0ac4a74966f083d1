#include "format/file_set.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "format/commit_note.hpp"
#include "format/file_io.hpp"
#include "format/file_names.hpp"
#include "format/replaceable_target.hpp"
#include "format/temporary_files.hpp"

namespace scenario {
namespace {

std::string system_reason(int error) { return std::strerror(error); }

// Temporary names of this process are told apart by a count.
unsigned next_count() {
  static unsigned count = 0;
  return count++;
}

// Files of the folder deleted when the scope ends, however it ends.
struct DeletedAtEnd {
  int folder_fd;
  std::vector<std::string> names;
  ~DeletedAtEnd() {
    for (const std::string& name : names) ::unlinkat(folder_fd, name.c_str(), 0);
  }
};

// How long a run waits for the folder's lock before it says that it waits.
constexpr auto kQuietWait = std::chrono::seconds(3);

// Takes the folder's lock if it is free. A file system without locks counts as free: it
// still gets its files, only without the turns.
bool lock_if_free(int folder_fd) {
  for (;;) {
    if (::flock(folder_fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EINTR) return errno != EWOULDBLOCK;
  }
}

// Whether the two open files hold the same `size` bytes, read a part at a time.
bool same_bytes(int one, int other, uint64_t size) {
  std::string a(64 << 10, '\0'), b(64 << 10, '\0');
  for (uint64_t offset = 0; offset < size;) {
    const size_t part = static_cast<size_t>(std::min<uint64_t>(a.size(), size - offset));
    const ssize_t got_a = ::pread(one, a.data(), part, static_cast<off_t>(offset));
    const ssize_t got_b = ::pread(other, b.data(), part, static_cast<off_t>(offset));
    if (got_a <= 0 || got_a != got_b) return false;
    const auto got = static_cast<size_t>(got_a);
    if (std::memcmp(a.data(), b.data(), got) != 0) return false;
    offset += got;
  }
  return true;
}

// An older file kept under a second name while the set is replaced, so that a rename that
// fails can put it back.
struct Replacement {
  std::string temporary;
  std::string name;
  std::string older;  // "" when nothing stood at the name
  bool older_linked = false;  // else moved aside just before its rename
};

}  // namespace

struct FileSet::Staged {
  std::string name;       // in the folder
  std::string temporary;  // in the folder
  int fd = -1;
  int slot = -1;  // in the signal handler's list
  bool unwritten = false;      // nothing staged: compared only
  bool older_differs = false;  // of an unwritten file, told when it is added
  bool older_same = false;     // found by changed_older_files(): the commit leaves the older file
  bool renamed = false;
};

FilesAlreadyThere::FilesAlreadyThere(const std::filesystem::path& folder, std::vector<std::string> names)
    : FileError(folder, "already holds " + [&names] {
        std::string joined;
        for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
        return joined;
      }()),
      names_(std::move(names)) {}

FileSet::FileSet(std::filesystem::path folder, std::vector<std::string> names, SetOptions options)
    : folder_(std::move(folder)), names_(std::move(names)), options_(std::move(options)) {
  for (const std::string& name : names_) {
    if (const std::string fault = file_name_fault(name); !fault.empty())
      throw FileError(folder_ / name, "cannot be the name of a file: " + fault);
  }
  const std::filesystem::path opened = folder_.empty() ? std::filesystem::path(".") : folder_;
  folder_fd_ = ::open(opened.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd_ < 0) throw FileError(opened, "cannot open the folder: " + system_reason(errno));
  try {
    take_turn();
    sweep_folder(folder_fd_, opened, names_, options_.notice);
    check_targets();
  } catch (...) {
    ::close(folder_fd_);
    throw;
  }
}

void FileSet::take_turn() {
  if (lock_if_free(folder_fd_)) return;
  const std::filesystem::path shown = folder_.empty() ? std::filesystem::path(".") : folder_;
  if (!options_.wait) throw FileError(shown, "another run is writing into the folder; nothing was written");
  const auto quiet_until = std::chrono::steady_clock::now() + kQuietWait;
  while (std::chrono::steady_clock::now() < quiet_until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (lock_if_free(folder_fd_)) return;
  }
  if (options_.notice) options_.notice("waiting for another run into '" + shown.string() + "' to finish");
  while (::flock(folder_fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

void FileSet::check_targets() const {
  if (const std::string reason = unwritable_folder_reason(folder_fd_); !reason.empty())
    throw FileError(folder_.empty() ? std::filesystem::path(".") : folder_, reason);
  std::vector<std::string> there;
  for (const std::string& name : names_) {
    if (const std::string reason = unreplaceable_reason(folder_fd_, name); !reason.empty())
      throw FileError(folder_ / name, "cannot replace: " + reason);
    struct stat status {};
    if (!options_.replace && ::fstatat(folder_fd_, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0)
      there.push_back(name);
  }
  if (!there.empty()) throw FilesAlreadyThere(folder_.empty() ? std::filesystem::path(".") : folder_, there);
}

FileSet::~FileSet() {
  for (Staged& file : staged_) {
    if (file.fd >= 0) ::close(file.fd);
    if (!file.renamed) ::unlinkat(folder_fd_, file.temporary.c_str(), 0);
    unregister_temporary_file(file.slot);
  }
  ::close(folder_fd_);  // and the lock with it
}

FileSet::Staged& FileSet::create_temporary(const std::string& name) {
  if (std::find(names_.begin(), names_.end(), name) == names_.end())
    throw std::logic_error("'" + name + "' is not a file of the set");
  const std::filesystem::path target = folder_ / name;
  // The replaced file's permission bits stay; a new file gets the usual ones.
  struct stat older {};
  const bool replaces = ::fstatat(folder_fd_, name.c_str(), &older, 0) == 0 && S_ISREG(older.st_mode);

  Staged& file = staged_.emplace_back();
  file.name = name;
  for (int attempt = 0; file.fd < 0; ++attempt) {
    file.temporary = temporary_file_name(name, ::getpid(), next_count());
    // Known to the signal handler before it exists, so that no signal leaves it behind.
    SignalHold hold;
    file.slot = register_temporary_file((folder_ / file.temporary).string());
    file.fd = ::openat(folder_fd_, file.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file.fd < 0) {
      const int error = errno;
      // The name was not made: what stands there is not this run's to remove, even when a
      // signal comes before the next attempt.
      unregister_temporary_file(file.slot);
      file.slot = -1;
      if (error != EEXIST || attempt == 100) {
        file.renamed = true;  // nothing to remove
        throw FileError(target, "cannot create: " + system_reason(error));
      }
    }
  }
  if (replaces && ::fchmod(file.fd, older.st_mode & 0777) != 0)
    throw FileError(target, "cannot keep the older file's permissions: " + system_reason(errno));
  return file;
}

void FileSet::write_all(Staged& file, uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(file.fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(folder_ / file.name, "cannot write: " + system_reason(errno));
    }
    bytes.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
}

void FileSet::set_room_aside(Staged& file, uint64_t bytes) {
  // The blocks taken at once spare the file system deciding them page by page as the
  // bytes come. Only a lack of room is an error; a file system that cannot do it just
  // gets the bytes.
  if (::fallocate(file.fd, 0, 0, static_cast<off_t>(bytes)) != 0 &&
      (errno == ENOSPC || errno == EDQUOT || errno == EFBIG || errno == EIO))
    throw FileError(folder_ / file.name, "cannot write: " + system_reason(errno));
}

void FileSet::close(Staged& file) {
  const int fd = file.fd;
  file.fd = -1;
  if (::close(fd) != 0) throw FileError(folder_ / file.name, "cannot write: " + system_reason(errno));
}

void FileSet::write_note(const std::string& note_name, std::string_view note) {
  const int fd = ::openat(folder_fd_, note_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) throw FileError(folder_ / note_name, "cannot create: " + system_reason(errno));
  const ssize_t written = ::write(fd, note.data(), note.size());
  const int error = errno;
  if (::close(fd) != 0 || written != static_cast<ssize_t>(note.size()))
    throw FileError(folder_ / note_name, "cannot write: " + system_reason(written < 0 ? error : ENOSPC));
}

void FileSet::add(const std::string& name, std::string_view bytes) { stage_bytes(name, bytes, true); }

FileSet::Staged& FileSet::stage_bytes(const std::string& name, std::string_view bytes, bool set_room) {
  Staged& file = create_temporary(name);
  if (set_room && !bytes.empty()) set_room_aside(file, bytes.size());
  write_all(file, 0, bytes);
  close(file);
  return file;
}

void FileSet::add_with(const std::string& name, const std::function<void(ByteSink&)>& produce) {
  Staged& file = create_temporary(name);
  uint64_t end = 0;  // of what was written
  uint64_t room = 0;
  ByteSink sink(
      [this, &file, &end](uint64_t offset, std::string_view bytes) {
        write_all(file, offset, bytes);
        end = std::max<uint64_t>(end, offset + bytes.size());
      },
      [this, &file, &room](uint64_t expected_end) {
        set_room_aside(file, expected_end);
        room = std::max(room, expected_end);
      });
  produce(sink);
  sink.flush();
  // Room set aside and not written is given back: the file holds what was written, no more.
  if (room > end && ::ftruncate(file.fd, static_cast<off_t>(end)) != 0)
    throw FileError(folder_ / file.name, "cannot write: " + system_reason(errno));
  close(file);
}

void FileSet::add_unwritten(const std::string& name, std::string_view bytes) {
  if (std::find(names_.begin(), names_.end(), name) == names_.end())
    throw std::logic_error("'" + name + "' is not a file of the set");
  Staged& file = staged_.emplace_back();
  file.name = name;
  file.unwritten = true;
  file.renamed = true;  // no temporary to remove
  struct stat older {};
  file.older_differs = ::fstatat(folder_fd_, name.c_str(), &older, 0) == 0 && older_file_differs_from(name, bytes);
}

bool FileSet::older_file_differs_from(const std::string& name, std::string_view bytes) const {
  struct stat older {};
  const int fd = ::openat(folder_fd_, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return true;
  bool same = ::fstat(fd, &older) == 0 && S_ISREG(older.st_mode) && static_cast<uint64_t>(older.st_size) == bytes.size();
  std::string part(64 << 10, '\0');
  for (uint64_t offset = 0; same && offset < bytes.size();) {
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(part.size(), bytes.size() - offset));
    const ssize_t got = ::pread(fd, part.data(), wanted, static_cast<off_t>(offset));
    same = got > 0 && std::memcmp(part.data(), bytes.data() + offset, static_cast<size_t>(got)) == 0;
    offset += got > 0 ? static_cast<uint64_t>(got) : 0;
  }
  ::close(fd);
  return !same;
}

void FileSet::remove_at_commit(const std::string& name) { removals_.push_back(name); }

bool FileSet::older_file_differs(const Staged& file) const {
  struct stat older {};
  if (::fstatat(folder_fd_, file.name.c_str(), &older, 0) != 0) return false;
  struct stat staged {};
  if (!S_ISREG(older.st_mode) || ::fstatat(folder_fd_, file.temporary.c_str(), &staged, 0) != 0 ||
      older.st_size != staged.st_size)
    return true;
  // Of the same size: compared a part at a time, never more than the staged file holds.
  const int older_fd = ::openat(folder_fd_, file.name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  const int staged_fd = ::openat(folder_fd_, file.temporary.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat opened {};
  const bool same = older_fd >= 0 && staged_fd >= 0 && ::fstat(older_fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                    same_bytes(older_fd, staged_fd, static_cast<uint64_t>(staged.st_size));
  if (older_fd >= 0) ::close(older_fd);
  if (staged_fd >= 0) ::close(staged_fd);
  return !same;
}

std::vector<std::string> FileSet::changed_older_files() {
  std::vector<std::string> changed;
  for (Staged& file : staged_) {
    if (file.unwritten) {
      if (file.older_differs) changed.push_back(file.name);
      continue;
    }
    struct stat older {};
    const bool there = ::fstatat(folder_fd_, file.name.c_str(), &older, 0) == 0;
    const bool differs = older_file_differs(file);
    file.older_same = there && !differs;
    if (differs) changed.push_back(file.name);
  }
  return changed;
}

void FileSet::commit() {
  // A rename that would fail is found before the first one is done, as far as it can be
  // told: a folder, a device or a mount point where a file goes, a file that may not be
  // replaced, a folder that takes no new names.
  check_targets();
  SignalHold hold;
  std::vector<Replacement> replacements;
  DeletedAtEnd older_links{folder_fd_, {}};
  for (const Staged& file : staged_) {
    // The temporary of a file the same as the older one goes with the set's end.
    if (file.unwritten || file.older_same) continue;
    Replacement& replacement = replacements.emplace_back(Replacement{file.temporary, file.name, "", false});
    struct stat older {};
    if (::fstatat(folder_fd_, file.name.c_str(), &older, AT_SYMLINK_NOFOLLOW) != 0) continue;
    // The older file keeps a second name until every rename is done: it can be put back,
    // and dropping its last name would free its blocks on the way, which would widen the
    // moment in which the set is half replaced. Where no second name can be made, it is
    // moved aside just before its rename.
    replacement.older = temporary_file_name(file.name, ::getpid(), next_count());
    replacement.older_linked =
        ::linkat(folder_fd_, file.name.c_str(), folder_fd_, replacement.older.c_str(), 0) == 0;
    if (replacement.older_linked) older_links.names.push_back(replacement.older);
  }
  // The note tells the next run into the folder how to finish the renames, should this
  // one be killed half way through them. One rename has no half way.
  DeletedAtEnd note{folder_fd_, {}};
  if (replacements.size() > 1) {
    Renames renames;
    for (const Replacement& replacement : replacements) renames.emplace_back(replacement.temporary, replacement.name);
    note.names.push_back(commit_note_name(::getpid(), next_count()));
    write_note(note.names.front(), commit_note(renames));
  }

  // Puts back the older files of the first `count` replacements, the last first.
  const auto put_back = [&](size_t count) {
    std::string lost;
    for (size_t i = count; i-- > 0;) {
      const Replacement& replacement = replacements[i];
      const bool back = replacement.older.empty()
                            ? ::unlinkat(folder_fd_, replacement.name.c_str(), 0) == 0
                            : ::renameat(folder_fd_, replacement.older.c_str(), folder_fd_, replacement.name.c_str()) == 0;
      if (back) continue;
      lost += (lost.empty() ? "" : ", ") + replacement.name;
      // An older file that could not be put back stays under its second name.
      std::erase(older_links.names, replacement.older);
    }
    return lost.empty() ? std::string("; nothing was replaced")
                        : "; the set is mixed: " + lost + " could not be put back (the older files keep their "
                                                           "second names beside them)";
  };
  for (size_t i = 0; i < replacements.size(); ++i) {
    const Replacement& replacement = replacements[i];
    if (options_.before_rename) options_.before_rename(replacement.name);
    size_t done = i;
    if (!replacement.older.empty() && !replacement.older_linked) {
      if (::renameat(folder_fd_, replacement.name.c_str(), folder_fd_, replacement.older.c_str()) != 0) {
        const int error = errno;
        throw FileError(folder_ / replacement.name, "cannot replace: " + system_reason(error) + put_back(done));
      }
      older_links.names.push_back(replacement.older);
      done = i + 1;  // the older file is aside: putting this one back moves it home
    }
    if (::renameat(folder_fd_, replacement.temporary.c_str(), folder_fd_, replacement.name.c_str()) != 0) {
      const int error = errno;
      throw FileError(folder_ / replacement.name, "cannot replace: " + system_reason(error) + put_back(done));
    }
    Staged& file = *std::find_if(staged_.begin(), staged_.end(),
                                 [&](const Staged& staged) { return staged.temporary == replacement.temporary; });
    file.renamed = true;
    unregister_temporary_file(file.slot);
    file.slot = -1;
  }
  // The set has landed: a file that cannot be deleted now is said, and fails nothing.
  for (const std::string& name : removals_) {
    if (::unlinkat(folder_fd_, name.c_str(), 0) != 0 && errno != ENOENT && options_.notice)
      options_.notice((folder_ / name).string() + ": the set is written, but this file cannot be deleted: " +
                      system_reason(errno));
  }
}

void replace_file(const std::filesystem::path& path, std::string_view bytes, const SetOptions& options) {
  const std::string name = path.filename().string();
  FileSet set(path.parent_path(), {name}, options);
  set.add(name, bytes);  // straight from the bytes, through no sink's buffer
  set.commit();
}

void replace_file_with(const std::filesystem::path& path, const std::function<void(ByteSink&)>& produce,
                       const SetOptions& options) {
  const std::string name = path.filename().string();
  FileSet set(path.parent_path(), {name}, options);
  set.add_with(name, produce);
  set.commit();
}

}  // namespace scenario
