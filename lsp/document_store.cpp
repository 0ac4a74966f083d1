#include "lsp/document_store.hpp"

#include "format/file_uri.hpp"

namespace scenario {

const OpenDocument& DocumentStore::open(const std::string& uri, std::string text, int64_t version) {
  const std::optional<std::string> path = path_of_file_uri(uri);
  OpenDocument& document = documents_[uri];
  document = OpenDocument{uri, path ? std::filesystem::path(*path).lexically_normal() : std::filesystem::path{},
                          std::move(text), version};
  return document;
}

const OpenDocument* DocumentStore::change(const std::string& uri, std::string text, int64_t version) {
  const auto found = documents_.find(uri);
  if (found == documents_.end()) return nullptr;
  found->second.text = std::move(text);
  found->second.version = version;
  return &found->second;
}

void DocumentStore::close(const std::string& uri) { documents_.erase(uri); }

const OpenDocument* DocumentStore::find(const std::string& uri) const {
  const auto found = documents_.find(uri);
  return found == documents_.end() ? nullptr : &found->second;
}

const OpenDocument* DocumentStore::find_path(const std::filesystem::path& path) const {
  const std::filesystem::path normal = path.lexically_normal();
  for (const auto& [uri, document] : documents_)
    if (!document.path.empty() && document.path == normal) return &document;
  return nullptr;
}

std::vector<const OpenDocument*> DocumentStore::all() const {
  std::vector<const OpenDocument*> documents;
  for (const auto& [uri, document] : documents_) documents.push_back(&document);
  return documents;
}

}  // namespace scenario
