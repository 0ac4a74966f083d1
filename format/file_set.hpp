#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "format/byte_writer.hpp"
#include "format/file_io.hpp"
#include "format/folder_sweep.hpp"

namespace scenario {

// How a set goes about the folder it writes into.
struct SetOptions {
  // Whether to wait for another run into the folder to end; false gives up at once.
  bool wait = true;
  // Whether files of the set already in the folder are replaced; false refuses the whole
  // set (FilesAlreadyThere) when one of them is there.
  bool replace = true;
  // Hears what is no failure but worth saying: a commit note not obeyed, a long wait.
  Notice notice;
  // Runs before each rename of the commit, with the file's name: the seam where a test puts
  // something in the way of a rename that the checks let pass (a file system that changes
  // its mind, another program writing into the folder).
  std::function<void(const std::string&)> before_rename;
};

// Files of the set that stand in the folder already, when the set may not replace them.
class FilesAlreadyThere : public FileError {
 public:
  FilesAlreadyThere(const std::filesystem::path& folder, std::vector<std::string> names);
  const std::vector<std::string>& names() const { return names_; }

 private:
  std::vector<std::string> names_;
};

// The files that one run writes into one folder, replaced together. Each file is written
// whole to a temporary file in the folder first; commit() renames them all over their
// names once every one is complete, so a failure before then leaves every older file as
// it was. A rename that fails all the same puts back the files renamed before it. A set
// that is never committed removes its temporaries.
//
// The set is named whole when it is made: the names of every file it may write (plain
// file names of the folder). Each one that stands in the folder must be a regular file that
// a rename can replace, or nothing is written.
//
// While a set lives it holds an advisory lock on the folder itself: a second run into the
// same folder waits for the first to end, and the later run's set is the one that stays.
// Taking the lock also clears what killed runs left of the same set (see folder_sweep.hpp).
// Every check of what stands in the folder is made under the lock.
//
// A replaced file keeps the older file's permission bits. Throws FileError.
class FileSet {
 public:
  FileSet(std::filesystem::path folder, std::vector<std::string> names, SetOptions options = {});
  ~FileSet();
  FileSet(const FileSet&) = delete;
  FileSet& operator=(const FileSet&) = delete;

  const std::filesystem::path& folder() const { return folder_; }

  // Stages the file `name` of the set with these bytes, or with what `produce` writes.
  void add(const std::string& name, std::string_view bytes);
  void add_with(const std::string& name, const std::function<void(ByteSink&)>& produce);

  // A file of the run that is never written (a source compiled from memory): an older file
  // of its name is compared with `bytes`, as a staged file's is.
  void add_unwritten(const std::string& name, std::string_view bytes);

  // The file `name` of the set is deleted by the commit, when it is there; one that cannot
  // be deleted once the set has landed is told to the notice, not thrown.
  void remove_at_commit(const std::string& name);

  // The staged names (unwritten ones too) whose older file in the folder differs from the
  // staged bytes. An older file is read only as far as the staged file is long. A staged
  // file found the same as its older file is not renamed by the commit: the older file
  // stays as it was, its time included.
  std::vector<std::string> changed_older_files();

  // Renames every staged file over its name (but those found the same as their older
  // file) and deletes the files to remove, with the signals that end a run held back until
  // all is done.
  void commit();

 private:
  struct Staged;
  Staged& create_temporary(const std::string& name);
  // Stages a file of these bytes, with its room set aside first when `set_room`.
  Staged& stage_bytes(const std::string& name, std::string_view bytes, bool set_room);
  // Writes `bytes` at `offset` of the file, where a part of it belongs.
  void write_all(Staged& file, uint64_t offset, std::string_view bytes);
  // Sets `bytes` of room aside for the file, as a file system allows.
  void set_room_aside(Staged& file, uint64_t bytes);
  void close(Staged& file);
  bool older_file_differs(const Staged& file) const;
  // Whether the file `name` of the folder is missing or holds other bytes than `bytes`.
  bool older_file_differs_from(const std::string& name, std::string_view bytes) const;
  void write_note(const std::string& note_name, std::string_view note);
  // Waits for the folder's lock as the options say.
  void take_turn();
  // Throws when a file of the set could not be replaced, or may not be.
  void check_targets() const;

  std::filesystem::path folder_;
  std::vector<std::string> names_;
  SetOptions options_;
  int folder_fd_ = -1;
  std::vector<Staged> staged_;
  std::vector<std::string> removals_;
};

// Replaces the file at `path`, all or nothing, with these bytes or with what `produce`
// writes: a set of one file.
void replace_file(const std::filesystem::path& path, std::string_view bytes, const SetOptions& options = {});
void replace_file_with(const std::filesystem::path& path, const std::function<void(ByteSink&)>& produce,
                       const SetOptions& options = {});

}  // namespace scenario
