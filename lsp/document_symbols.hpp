#pragma once

#include <nlohmann/json.hpp>

#include "lsp/source_outline.hpp"

namespace scenario {

// What textDocument/documentSymbol gives: the sections, each by its header, and in them the
// stations by name, the signals, slowdowns and boards, each with its position.
nlohmann::json document_symbols(const SourceOutline& outline);

}  // namespace scenario
