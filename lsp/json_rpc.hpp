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

// The deepest nesting of arrays and objects a message may hold: no message of the protocol
// comes near it, and a value nested deeper would be copied and freed by deep recursion.
inline constexpr int kMostJsonNesting = 256;

// Whether the arrays and objects of a JSON text nest no deeper than `most`; brackets in
// strings do not count.
bool nesting_within(std::string_view json_text, int most);

// The answer to the request `id`.
nlohmann::json rpc_result(const nlohmann::json& id, nlohmann::json result);
// The error answer to the request `id` (null when the request could not be read).
nlohmann::json rpc_error(const nlohmann::json& id, RpcError code, std::string message);
// A notification: a method and its parameters, no answer expected.
nlohmann::json rpc_notification(std::string_view method, nlohmann::json params);

}  // namespace scenario
