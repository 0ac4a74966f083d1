#pragma once

// A conversation with the language server as a client holds it: the messages are framed
// into one script, piped into `scenario-builder lsp`, and everything the server wrote is
// read back message by message.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "format/file_uri.hpp"
#include "lsp/message_framing.hpp"
#include "tests/program_runner.hpp"

namespace scenario::testing {

struct LspRun {
  int exit_status = -1;
  std::vector<nlohmann::json> messages;
  std::string err;

  // The answer to request `id`, or null.
  nlohmann::json answer(int id) const {
    for (const nlohmann::json& message : messages)
      if (message.contains("id") && message["id"] == id && !message.contains("method")) return message;
    return nullptr;
  }
  // The diagnostics lists published for `uri`, in order.
  std::vector<nlohmann::json> published(const std::string& uri) const {
    std::vector<nlohmann::json> lists;
    for (const nlohmann::json& message : messages)
      if (message.value("method", "") == "textDocument/publishDiagnostics" && message["params"]["uri"] == uri)
        lists.push_back(message["params"]["diagnostics"]);
    return lists;
  }
  // The errors answered, by their codes, in order.
  std::vector<int> error_codes() const {
    std::vector<int> codes;
    for (const nlohmann::json& message : messages)
      if (message.contains("error")) codes.push_back(message["error"]["code"].get<int>());
    return codes;
  }
};

class LspScript {
 public:
  LspScript& request(int id, const std::string& method, nlohmann::json params = nlohmann::json::object()) {
    return raw(framed(nlohmann::json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump()));
  }
  LspScript& notify(const std::string& method, nlohmann::json params = nlohmann::json::object()) {
    return raw(framed(nlohmann::json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump()));
  }
  LspScript& raw(const std::string& bytes) {
    script_ += bytes;
    return *this;
  }
  LspScript& initialize(nlohmann::json capabilities = nlohmann::json::object()) {
    return request(1, "initialize", {{"capabilities", std::move(capabilities)}}).notify("initialized");
  }
  LspScript& open(const std::string& uri, const std::string& utf8_text) {
    return notify("textDocument/didOpen",
                  {{"textDocument", {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", utf8_text}}}});
  }
  LspScript& change(const std::string& uri, int version, const std::string& utf8_text) {
    return notify("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", version}}},
                                             {"contentChanges", nlohmann::json::array({{{"text", utf8_text}}})}});
  }
  LspScript& at(int id, const std::string& method, const std::string& uri, int line, int character) {
    return request(id, method, {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}});
  }
  LspScript& finish() { return request(9999, "shutdown").notify("exit"); }

  // Pipes the script into the server, run in `folder`.
  LspRun run(const std::filesystem::path& folder) const {
    const TempFolder scratch;
    const auto script = scratch.path() / "script";
    write_bytes(script, script_);
    const ProgramRun program = run_program("cd " + shell_quoted(folder.string()) + " && (cat " +
                                               shell_quoted(script.string()) + " | " +
                                               shell_quoted(SCENARIO_BUILDER_EXE) + " lsp)",
                                           scratch.path());
    LspRun run{program.exit_status, {}, program.err};
    std::istringstream out(program.out);
    MessageReader reader(out);
    for (FramedMessage message = reader.next(); message.kind == FramedMessage::Kind::kMessage; message = reader.next())
      run.messages.push_back(nlohmann::json::parse(message.body));
    return run;
  }

 private:
  std::string script_;
};

inline std::string file_uri(const std::filesystem::path& path) { return uri_of_path(path.string()); }

}  // namespace scenario::testing
