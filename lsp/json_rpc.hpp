#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace scenario {

// The error codes of JSON-RPC 2.0 and of the Language Server Protocol that the server
// answers with.
enum class RpcError : int {
  kParseError = -32700,
  kInvalidRequest = -32600,
  kMethodNotFound = -32601,
  kInvalidParams = -32602,
  kInternalError = -32603,
  kServerNotInitialized = -32002,
};

// The answer to the request `id`.
nlohmann::json rpc_result(const nlohmann::json& id, nlohmann::json result);
// The error answer to the request `id` (null when the request could not be read).
nlohmann::json rpc_error(const nlohmann::json& id, RpcError code, std::string message);
// A notification: a method and its parameters, no answer expected.
nlohmann::json rpc_notification(std::string_view method, nlohmann::json params);

}  // namespace scenario
