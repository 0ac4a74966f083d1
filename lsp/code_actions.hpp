#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace scenario {

// The command a code action runs to have a fault or warning explained; its one argument is
// the diagnostic's code ("fault 13", "W5").
inline constexpr std::string_view kExplainCommand = "scenario-builder.explain";

// What textDocument/codeAction offers for the diagnostics the client sends back with the
// request: the fix a diagnostic names (a keyword's "did you mean", a position moved to its
// 50 m cell) as an edit of the document `uri` holding `text`, and for every diagnostic with
// a code, its explanation.
nlohmann::json code_actions(const std::string& uri, std::string_view text, const nlohmann::json& params);

// The explanation of a code, as `explain` tells it; none for a code that names nothing.
std::optional<std::string> explanation_of_code(std::string_view code);

}  // namespace scenario
