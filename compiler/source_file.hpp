#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// A source text that the compiler reads, and whether the compiler may delete it when it is
// done with it. Only the run's own intermediate files may be deleted; an author's file is
// never touched, whatever happens while it is compiled.
class SourceFile {
 public:
  enum class Ownership { kRunIntermediate, kAuthors };

  // `name` is the file's name for diagnostics when it is read under another one.
  static SourceFile on_disk(std::filesystem::path path, Ownership ownership, std::string name = "");
  static SourceFile in_memory(std::string name, std::string bytes);
  // An author's file at `path` that was already read whole into `bytes` (a pipe or a FIFO
  // can be read only once); it is read as the file itself would be.
  static SourceFile already_read(std::filesystem::path path, std::string bytes);

  // The file name as an author knows it, for diagnostics.
  const std::string& name() const { return name_; }

  // Whether there is still a file to read (false once discarded).
  bool exists() const;

  // The file is written in UTF-8: it is read into Windows-1252 text.
  void read_as_utf8() { utf8_ = true; }

  // The whole content, read once; a file that cannot be read, or that holds more than a
  // source may, is a RuntimeFailure. A file in
  // UTF-16 or UTF-32, or a UTF-8 one with a character Windows-1252 does not have, throws
  // SourceEncodingError.
  std::string_view contents();

  // The compiler is done with this source: a run-intermediate file is deleted from its
  // folder (a FileError if that fails); an author's file stays as it is.
  void discard();

 private:
  SourceFile() = default;

  std::string name_;
  std::optional<std::filesystem::path> path_;  // none for a text held in memory
  Ownership ownership_ = Ownership::kAuthors;
  std::optional<std::string> contents_;
  std::optional<std::string> read_bytes_;  // of an already read file
  bool discarded_ = false;
  bool utf8_ = false;
};

}  // namespace scenario
