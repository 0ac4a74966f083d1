#include "lsp/source_pairing.hpp"

#include <algorithm>
#include <string>

#include "schema/row_schema.hpp"
#include "format/scenario_files.hpp"
#include "model/windows_1252.hpp"

namespace scenario {

std::optional<SourceRole> source_role(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  if (name.size() > kLineSourceSuffix.size() && name.ends_with(kLineSourceSuffix)) return SourceRole::kLine;
  if (line_source_of(file)) return SourceRole::kService;
  return std::nullopt;
}

SourceRole role_of_text(const std::filesystem::path& file, std::string_view text) {
  if (const auto role = source_role(file)) return *role;
  const std::string lower = lower_case_1252(text);
  const auto line_headers = line_general_section().headers;
  for (const std::string_view header : service_section().headers)
    if (std::find(line_headers.begin(), line_headers.end(), header) == line_headers.end() &&
        lower.find(header) != std::string::npos)
      return SourceRole::kService;
  return SourceRole::kLine;
}

std::optional<std::filesystem::path> line_source_of(const std::filesystem::path& service_source) {
  const std::string name = service_source.filename().string();
  if (!name.ends_with(kServiceSourceSuffix) || name.ends_with(kLineSourceSuffix)) return std::nullopt;
  const std::string stem = name.substr(0, name.size() - kServiceSourceSuffix.size());
  const std::size_t separator = stem.rfind('_');
  if (separator == std::string::npos || separator == 0 || separator + 1 == stem.size()) return std::nullopt;
  return service_source.parent_path() / (stem.substr(0, separator) + std::string(kLineSourceSuffix));
}

bool is_service_source_of(const std::filesystem::path& candidate, const std::filesystem::path& line_source) {
  const auto line = line_source_of(candidate);
  return line && *line == line_source;
}

}  // namespace scenario
