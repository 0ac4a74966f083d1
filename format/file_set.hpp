#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "format/byte_writer.hpp"
#include "format/file_io.hpp"

namespace scenario {

// The files that one run writes into one folder, replaced together. Each file is written
// whole to a temporary file in the folder first; commit() renames them all over their
// names once every one is complete, so a failure before then leaves every older file as
// it was. A set that is never committed removes its temporaries.
//
// While a set lives it holds an advisory lock on the folder itself: a second run into the
// same folder waits for the first to end, and the later run's set is the one that stays.
// Taking the lock also removes what runs killed outright left behind in the folder: their
// temporaries, recognisable by name, once the process that made them is gone.
//
// A replaced file keeps the older file's permission bits. Throws FileError.
class FileSet {
 public:
  explicit FileSet(std::filesystem::path folder);
  ~FileSet();
  FileSet(const FileSet&) = delete;
  FileSet& operator=(const FileSet&) = delete;

  const std::filesystem::path& folder() const { return folder_; }

  // Stages the file `name` of the folder with these bytes, or with what `produce` writes.
  void add(const std::string& name, std::string_view bytes);
  void add_with(const std::string& name, const std::function<void(ByteSink&)>& produce);

  // A file of the run that is read back and then deleted: written under a temporary name,
  // which is returned, and removed with the set's other temporaries if still there.
  std::filesystem::path add_intermediate(const std::string& name, std::string_view bytes);

  // The file `name` of the folder is deleted by the commit, when it is there.
  void remove_at_commit(const std::string& name);

  // The staged names (intermediates too) whose older file in the folder differs from the
  // staged bytes.
  std::vector<std::string> changed_older_files() const;

  // Renames every staged file over its name and deletes the files to remove, with the
  // signals that end a run held back until all is done.
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
  void write_note(const std::string& note_name, std::string_view note);

  std::filesystem::path folder_;
  int folder_fd_ = -1;
  std::vector<Staged> staged_;
  std::vector<std::string> removals_;
};

}  // namespace scenario
