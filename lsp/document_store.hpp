#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace scenario {

// A text the editor has open: the editor's text is the truth for it, not the file.
struct OpenDocument {
  std::string uri;
  std::filesystem::path path;  // empty for a URI that names no file
  std::string text;            // UTF-8, as the editor holds it
  int64_t version = 0;
};

// The documents open in the editor, by URI.
class DocumentStore {
 public:
  const OpenDocument& open(const std::string& uri, std::string text, int64_t version);
  // The whole new text of an open document; null for a URI that is not open.
  const OpenDocument* change(const std::string& uri, std::string text, int64_t version);
  void close(const std::string& uri);

  const OpenDocument* find(const std::string& uri) const;
  const OpenDocument* find_path(const std::filesystem::path& path) const;
  // Every open document, in the order of their URIs.
  std::vector<const OpenDocument*> all() const;

 private:
  std::map<std::string, OpenDocument, std::less<>> documents_;
};

}  // namespace scenario
