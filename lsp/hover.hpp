#pragma once

#include <optional>

#include <nlohmann/json.hpp>

#include "lsp/source_outline.hpp"
#include "reading/kilometre_readings.hpp"

namespace scenario {

// What textDocument/hover shows at a line and UTF-16 character: over a field its name,
// unit, range and meaning from the row schema, and for a position the 50 m cell it falls in
// and the kilometre reading there (when `readings` are known); over a keyword what the row
// holds; over a section header what the section holds. Null where there is nothing to tell.
nlohmann::json hover_at(const SourceOutline& outline, int line, int character,
                        const std::optional<KilometreReadings>& readings);

// Whether a field of the row schema holds a route position, whose cell and reading tell more.
bool is_position_field(const RowField& field);

}  // namespace scenario
