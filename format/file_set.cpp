#include "format/file_set.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "format/file_io.hpp"
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

}  // namespace

struct FileSet::Staged {
  std::string name;       // in the folder
  std::string temporary;  // in the folder
  int fd = -1;
  int slot = -1;  // in the signal handler's list
  bool intermediate = false;
  bool older_differs = false;  // of an intermediate, told before it is read and deleted
  bool renamed = false;
};

FileSet::FileSet(std::filesystem::path folder) : folder_(std::move(folder)) {
  const std::filesystem::path opened = folder_.empty() ? std::filesystem::path(".") : folder_;
  folder_fd_ = ::open(opened.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd_ < 0) throw FileError(opened, "cannot open the folder: " + system_reason(errno));
  // A file system without locks still gets its files, only without the waiting.
  while (::flock(folder_fd_, LOCK_EX) != 0 && errno == EINTR) {
  }
  sweep_temporary_files(opened);
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
    unregister_temporary_file(file.slot);
    file.slot = register_temporary_file((folder_ / file.temporary).string());
    file.fd = ::openat(folder_fd_, file.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file.fd < 0 && (errno != EEXIST || attempt == 100)) {
      const int error = errno;
      file.renamed = true;  // nothing to remove
      throw FileError(target, "cannot create: " + system_reason(error));
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

std::filesystem::path FileSet::add_intermediate(const std::string& name, std::string_view bytes) {
  // No room set aside: blocks the file system never decides on for a file deleted soon
  // are never freed either, which costs a discard on some disks.
  Staged& file = stage_bytes(name, bytes, false);
  file.intermediate = true;
  file.older_differs = older_file_differs(file);
  return folder_ / file.temporary;
}

void FileSet::remove_at_commit(const std::string& name) { removals_.push_back(name); }

bool FileSet::older_file_differs(const Staged& file) const {
  struct stat older {};
  if (::fstatat(folder_fd_, file.name.c_str(), &older, 0) != 0) return false;
  return !S_ISREG(older.st_mode) || read_file(folder_ / file.name) != read_file(folder_ / file.temporary);
}

std::vector<std::string> FileSet::changed_older_files() const {
  std::vector<std::string> changed;
  for (const Staged& file : staged_) {
    if (file.intermediate ? file.older_differs : older_file_differs(file)) changed.push_back(file.name);
  }
  return changed;
}

void FileSet::commit() {
  // A rename that would fail is found before the first one is done: a folder standing
  // where a file goes would otherwise leave a mixed set.
  for (const Staged& file : staged_) {
    struct stat older {};
    if (!file.intermediate && ::fstatat(folder_fd_, file.name.c_str(), &older, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(older.st_mode))
      throw FileError(folder_ / file.name, "cannot replace: it is a folder");
  }
  SignalHold hold;
  std::vector<std::pair<std::string, std::string>> renames;
  DeletedAtEnd older_links{folder_fd_, {}};
  for (const Staged& file : staged_) {
    if (file.intermediate) continue;
    renames.emplace_back(file.temporary, file.name);
    // The older file keeps a second name until every rename is done: dropping its last
    // name would free its blocks on the way, and a large file would so widen the moment
    // in which the set is half replaced.
    std::string link = temporary_file_name(file.name, ::getpid(), next_count());
    if (::linkat(folder_fd_, file.name.c_str(), folder_fd_, link.c_str(), 0) == 0) older_links.names.push_back(link);
  }
  // The note tells the next run into the folder how to finish the renames, should this
  // one be killed half way through them.
  DeletedAtEnd note{folder_fd_, {commit_note_name(::getpid(), next_count())}};
  write_note(note.names.front(), commit_note(renames));
  for (Staged& file : staged_) {
    if (file.intermediate) continue;
    if (::renameat(folder_fd_, file.temporary.c_str(), folder_fd_, file.name.c_str()) != 0)
      throw FileError(folder_ / file.name, "cannot replace: " + system_reason(errno));
    file.renamed = true;
    unregister_temporary_file(file.slot);
    file.slot = -1;
  }
  for (const std::string& name : removals_) {
    if (::unlinkat(folder_fd_, name.c_str(), 0) != 0 && errno != ENOENT)
      throw FileError(folder_ / name, "cannot delete: " + system_reason(errno));
  }
}

void replace_file(const std::filesystem::path& path, std::string_view bytes) {
  replace_file_with(path, [bytes](ByteSink& out) { out.append(bytes); });
}

void replace_file_with(const std::filesystem::path& path, const std::function<void(ByteSink&)>& produce) {
  FileSet set(path.parent_path());
  set.add_with(path.filename().string(), produce);
  set.commit();
}

}  // namespace scenario
