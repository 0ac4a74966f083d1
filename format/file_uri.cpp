#include "format/file_uri.hpp"

#include <cstdio>

namespace scenario {
namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string uri_of_path(std::string_view path) {
  std::string uri = path.starts_with('/') ? "file://" : "";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      uri += c;
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", byte);
      uri += escape;
    }
  }
  return uri;
}

std::optional<std::string> path_of_file_uri(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.size() < kScheme.size()) return std::nullopt;
  for (size_t i = 0; i < kScheme.size(); ++i)
    if ((uri[i] | (uri[i] >= 'A' && uri[i] <= 'Z' ? 0x20 : 0)) != kScheme[i]) return std::nullopt;
  std::string_view rest = uri.substr(kScheme.size());
  const size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view authority = rest.substr(0, slash);
  if (!authority.empty() && authority != "localhost") return std::nullopt;
  rest = rest.substr(slash);
  std::string path;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '?' || rest[i] == '#') break;
    if (rest[i] != '%') {
      path += rest[i];
      continue;
    }
    if (i + 2 >= rest.size()) return std::nullopt;
    const int high = hex_digit(rest[i + 1]), low = hex_digit(rest[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    path += static_cast<char>(high * 16 + low);
    i += 2;
  }
  // A NUL byte cannot stand in a path.
  if (path.find('\0') != std::string::npos) return std::nullopt;
  return path;
}

}  // namespace scenario
