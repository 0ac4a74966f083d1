#include "lsp/lsp_positions.hpp"

namespace scenario {

nlohmann::json lsp_position(int line, int character) { return {{"line", line}, {"character", character}}; }

nlohmann::json lsp_range(int start_line, int start_character, int end_line, int end_character) {
  return {{"start", lsp_position(start_line, start_character)}, {"end", lsp_position(end_line, end_character)}};
}

}  // namespace scenario
