#include "lsp/code_actions.hpp"

#include <charconv>
#include <vector>

#include "lsp/lsp_positions.hpp"
#include "lsp/text_lines.hpp"
#include "model/fault_explanation.hpp"
#include "model/fault_table.hpp"
#include "model/warning_table.hpp"

namespace scenario {
namespace {

bool is_field_edge(std::string_view line, std::size_t at) {
  return at >= line.size() || line[at] == ',' || line[at] == ' ' || line[at] == '\t';
}

// Where `written` stands as a whole field on `line`, from byte `from` on.
std::optional<std::size_t> field_written(std::string_view line, std::string_view written, std::size_t from) {
  if (written.empty()) return std::nullopt;
  for (std::size_t at = line.find(written, from); at != std::string_view::npos; at = line.find(written, at + 1)) {
    const bool starts = at == 0 || is_field_edge(line, at - 1);
    if (starts && is_field_edge(line, at + written.size())) return at;
  }
  return std::nullopt;
}

std::optional<nlohmann::json> fix_action(const std::string& uri, const std::vector<std::string_view>& lines,
                                         const nlohmann::json& diagnostic) {
  if (!diagnostic.contains("data") || !diagnostic["data"].is_object() || !diagnostic["data"].contains("fix"))
    return std::nullopt;
  const nlohmann::json& fix = diagnostic["data"]["fix"];
  const std::string written = fix.at("written").get<std::string>();
  const std::string replacement = fix.at("replacement").get<std::string>();
  const int line_number = position_number(diagnostic.at("range").at("start").at("line"));
  if (line_number < 0 || static_cast<std::size_t>(line_number) >= lines.size()) return std::nullopt;
  const std::string_view line = lines[static_cast<std::size_t>(line_number)];
  const int character = position_number(diagnostic["range"]["start"].at("character"));
  const auto at = field_written(line, written, byte_of_utf16(line, character));
  if (!at) return std::nullopt;
  const nlohmann::json edit = {{"range", lsp_range(line_number, utf16_of_byte(line, *at), line_number,
                                                   utf16_of_byte(line, *at + written.size()))},
                               {"newText", replacement}};
  return nlohmann::json{{"title", "Write '" + replacement + "' for '" + written + "'"},
                        {"kind", "quickfix"},
                        {"diagnostics", nlohmann::json::array({diagnostic})},
                        {"isPreferred", true},
                        {"edit", {{"changes", {{uri, nlohmann::json::array({edit})}}}}}};
}

}  // namespace

std::optional<std::string> explanation_of_code(std::string_view code) {
  int number = 0;
  const auto parse = [&](std::string_view digits) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc() && end == digits.data() + digits.size();
  };
  if (code.starts_with("fault ") && parse(code.substr(6)))
    if (const FaultDescription* fault = find_fault(number)) return explain_fault(*fault);
  if (code.starts_with("W") && parse(code.substr(1)))
    if (const WarningDescription* warning = find_warning(number)) return explain_warning(*warning);
  return std::nullopt;
}

nlohmann::json code_actions(const std::string& uri, std::string_view text, const nlohmann::json& params) {
  nlohmann::json actions = nlohmann::json::array();
  const std::vector<std::string_view> lines = text_lines(text);
  for (const nlohmann::json& diagnostic : params.at("context").at("diagnostics")) {
    if (const auto fix = fix_action(uri, lines, diagnostic)) actions.push_back(*fix);
    if (!diagnostic.contains("code") || !diagnostic["code"].is_string()) continue;
    const std::string code = diagnostic["code"].get<std::string>();
    if (!explanation_of_code(code)) continue;
    actions.push_back({{"title", "Explain " + code},
                       {"kind", "quickfix"},
                       {"diagnostics", nlohmann::json::array({diagnostic})},
                       {"command", {{"title", "Explain " + code}, {"command", kExplainCommand}, {"arguments", {code}}}}});
  }
  return actions;
}

}  // namespace scenario
