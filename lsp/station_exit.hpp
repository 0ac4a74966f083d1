#pragma once

#include <optional>
#include <string>

#include "lsp/source_outline.hpp"

namespace scenario {

// What the position of a station row tells beyond its own cell: the cell of the station's
// exit, as the compiler places it from the row's type, length and sixth field, or that a
// named point marks none. `position`: the first field of a row, one of the outline's. Nothing for another row, or
// for a station row whose fields up to the sixth the compiler could not read.
std::optional<std::string> station_exit_text(const SourceOutline& outline, const OutlineField& position);

}  // namespace scenario
