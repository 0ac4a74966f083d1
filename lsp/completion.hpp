#pragma once

#include <nlohmann/json.hpp>

#include "lsp/source_outline.hpp"

namespace scenario {

// How a client takes a completion's text: snippets with tab stops, or plain text only.
enum class CompletionText { kPlain, kSnippet };

// What textDocument/completion offers at a line and UTF-16 character: where the compiler
// would read a keyword field (not in a row's fields, wherever its lines end), the row
// keywords the header above holds (every row of the section under a header of the author's
// own), and the section headers of the source. A row inserts its
// keyword with its fields as tab stops where the client takes snippets, else its keyword and
// a comma. A CompletionList, empty elsewhere.
nlohmann::json completion_at(const SourceOutline& outline, int line, int character, CompletionText text);

}  // namespace scenario
