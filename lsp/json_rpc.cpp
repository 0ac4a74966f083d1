#include "lsp/json_rpc.hpp"

namespace scenario {

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
