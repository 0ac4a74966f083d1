#include "lsp/json_rpc.hpp"

namespace scenario {

bool nesting_within(std::string_view json_text, int most) {
  int depth = 0;
  bool in_string = false;
  for (std::size_t i = 0; i < json_text.size(); ++i) {
    const char c = json_text[i];
    if (in_string) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        in_string = false;
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > most) return false;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return true;
}

nlohmann::json rpc_result(const nlohmann::json& id, nlohmann::json result) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
}

nlohmann::json rpc_error(const nlohmann::json& id, RpcError code, std::string message) {
  return {{"jsonrpc", "2.0"},
          {"id", id},
          {"error", {{"code", static_cast<int>(code)}, {"message", std::move(message)}}}};
}

nlohmann::json rpc_notification(std::string_view method, nlohmann::json params) {
  return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

}  // namespace scenario
