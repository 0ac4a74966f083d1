#include "compiler/source_file.hpp"

#include <system_error>

#include "compiler/source_encoding.hpp"
#include "format/file_io.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {

SourceFile SourceFile::on_disk(std::filesystem::path path, Ownership ownership, std::string name) {
  SourceFile source;
  source.name_ = name.empty() ? path.filename().string() : std::move(name);
  source.path_ = std::move(path);
  source.ownership_ = ownership;
  return source;
}

SourceFile SourceFile::in_memory(std::string name, std::string bytes) {
  SourceFile source;
  source.name_ = std::move(name);
  source.contents_ = std::move(bytes);
  return source;
}

SourceFile SourceFile::already_read(std::filesystem::path path, std::string bytes) {
  SourceFile source = on_disk(std::move(path), Ownership::kAuthors);
  source.read_bytes_ = std::move(bytes);
  return source;
}

bool SourceFile::exists() const {
  if (discarded_) return false;
  if (!path_ || read_bytes_) return true;
  std::error_code ec;
  return std::filesystem::is_regular_file(*path_, ec);
}

std::string_view SourceFile::contents() {
  if (!contents_) {
    if (discarded_ || !path_) throw RuntimeFailure("source file is gone");
    std::string bytes;
    try {
      bytes = read_bytes_ ? std::move(*read_bytes_) : read_file(*path_, kMaxSourceBytes);
    } catch (const FileError& e) {
      throw RuntimeFailure(e.what());
    }
    if (const std::optional<std::string> wide = wide_encoding_of(bytes)) {
      throw SourceEncodingError("'" + name_ + "' is written in " + *wide +
                                    "; save it as Windows-1252, or as UTF-8 and compile with --input-encoding utf-8",
                                name_);
    }
    contents_ = utf8_ ? source_from_utf8(bytes, name_) : std::move(bytes);
  }
  return *contents_;
}

void SourceFile::discard() {
  if (discarded_) return;
  discarded_ = true;
  if (!path_ || ownership_ != Ownership::kRunIntermediate) return;
  std::error_code ec;
  std::filesystem::remove(*path_, ec);
  if (ec) throw FileError(*path_, "cannot delete: " + ec.message());
}

}  // namespace scenario
