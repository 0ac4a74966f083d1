#pragma once

#include <nlohmann/json.hpp>

#include "lsp/source_outline.hpp"

namespace scenario {

// What textDocument/completion offers at a line and UTF-16 character: in a line's first
// field, the row keywords of the section the line stands in, each with the row's fields as
// a snippet, and the section headers of the source. A CompletionList, empty elsewhere.
nlohmann::json completion_at(const SourceOutline& outline, int line, int character);

}  // namespace scenario
