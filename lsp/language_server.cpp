#include "lsp/language_server.hpp"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "format/file_io.hpp"
#include "format/file_uri.hpp"
#include "lsp/code_actions.hpp"
#include "lsp/completion.hpp"
#include "lsp/diagnostics_publisher.hpp"
#include "lsp/document_symbols.hpp"
#include "lsp/hover.hpp"
#include "lsp/json_rpc.hpp"
#include "lsp/lsp_positions.hpp"
#include "lsp/message_framing.hpp"
#include "lsp/pair_compile.hpp"
#include "lsp/source_outline.hpp"
#include "lsp/source_pairing.hpp"
#include "lsp/text_lines.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

// The protocol's full text synchronisation and its message types.
constexpr int kFullSync = 1;
constexpr int kErrorMessage = 1;
constexpr int kInfoMessage = 3;

// The partner of a source: its text, whether the editor holds it, and where it shows.
struct Partner {
  std::filesystem::path path;
  std::string uri;
  std::string bytes;  // UTF-8 from the editor, Windows-1252 from disk
  bool open = false;
};

std::optional<Partner> partner_from(const DocumentStore& documents, const std::filesystem::path& path) {
  if (const OpenDocument* open = documents.find_path(path)) return Partner{path, open->uri, open->text, true};
  try {
    if (!std::filesystem::is_regular_file(path)) return std::nullopt;
    return Partner{path, uri_of_path(path.string()), read_file(path, kMaxSourceBytes), false};
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// The service source of a line source: one the editor holds first, else the first on disk by
// name.
std::optional<Partner> service_partner(const DocumentStore& documents, const std::filesystem::path& line_source) {
  for (const OpenDocument* document : documents.all())
    if (!document->path.empty() && is_service_source_of(document->path, line_source))
      return Partner{document->path, document->uri, document->text, true};
  std::vector<std::filesystem::path> candidates;
  std::error_code error;
  for (std::filesystem::directory_iterator entry(line_source.parent_path(), error), end; !error && entry != end;
       entry.increment(error))
    if (is_service_source_of(entry->path(), line_source)) candidates.push_back(entry->path());
  std::sort(candidates.begin(), candidates.end());
  for (const std::filesystem::path& candidate : candidates)
    if (auto partner = partner_from(documents, candidate)) return partner;
  return std::nullopt;
}

std::optional<Partner> partner_of(const DocumentStore& documents, const OpenDocument& document, SourceRole role) {
  if (document.path.empty()) return std::nullopt;
  if (role == SourceRole::kLine) return service_partner(documents, document.path);
  if (const auto line = line_source_of(document.path)) return partner_from(documents, *line);
  return std::nullopt;
}

// A request this server has no method for.
struct UnknownMethod {};

// A name a client sent, as an error message echoes it: cut short, so that a name of 50 MB
// is not sent back whole.
constexpr std::size_t kMostEchoedBytes = 120;
std::string echoed(std::string_view name) {
  if (name.size() <= kMostEchoedBytes) return std::string(name);
  return std::string(name.substr(0, kMostEchoedBytes)) + "... (" + std::to_string(name.size()) + " bytes)";
}

// A request whose parameters name what is not there: a document not open, a command or a
// code that does not exist.
class InvalidParams : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text after the changes of a didChange, in order: a change with a range replaces it, one
// without is the whole new text (the server asks for whole texts; a client may still send ranges).
std::string changed_text(std::string text, const nlohmann::json& changes) {
  for (const nlohmann::json& change : changes) {
    const std::string& replacement = change.at("text").get_ref<const std::string&>();
    if (!change.contains("range")) {
      text = replacement;
      continue;
    }
    const nlohmann::json& range = change["range"];
    const std::size_t start =
        byte_of_position(text, position_number(range.at("start").at("line")), position_number(range["start"].at("character")));
    const std::size_t end =
        byte_of_position(text, position_number(range.at("end").at("line")), position_number(range["end"].at("character")));
    if (end < start) throw nlohmann::json::other_error::create(501, "a change that ends before it starts", &change);
    text.replace(start, end - start, replacement);
  }
  return text;
}

// Whether an initialize's client capabilities take completion snippets; a client that does
// not say does not.
bool takes_snippets(const nlohmann::json& params) {
  const nlohmann::json* at = &params;
  for (const char* key : {"capabilities", "textDocument", "completion", "completionItem", "snippetSupport"}) {
    if (!at->is_object() || !at->contains(key)) return false;
    at = &(*at)[key];
  }
  return at->is_boolean() && at->get<bool>();
}

std::string text_of(const nlohmann::json& params) {
  return params.at("textDocument").at("text").get<std::string>();
}

}  // namespace

LanguageServer::LanguageServer(std::ostream& out, std::string reference_uri)
    : out_(out), reference_uri_(std::move(reference_uri)) {}

void LanguageServer::send(const nlohmann::json& message) {
  // A text that is not UTF-8 (a file name, a client's own bytes) is sent with U+FFFD.
  out_ << framed(message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
  out_.flush();
  if (!out_) {
    // Nobody is listening any more.
    exited_ = true;
    exit_status_ = 1;
  }
}

void LanguageServer::handle_malformed(std::string_view problem) {
  send(rpc_error(nullptr, RpcError::kParseError, "malformed message header: " + std::string(problem)));
}

void LanguageServer::handle_message(std::string_view body) {
  if (!nesting_within(body, kMostJsonNesting)) {
    send(rpc_error(nullptr, RpcError::kParseError,
                   "a message nested deeper than " + std::to_string(kMostJsonNesting) + " arrays and objects"));
    return;
  }
  nlohmann::json message;
  try {
    message = nlohmann::json::parse(body);
  } catch (const nlohmann::json::exception& e) {
    send(rpc_error(nullptr, RpcError::kParseError, std::string("invalid JSON: ") + e.what()));
    return;
  }
  if (!message.is_object()) {
    send(rpc_error(nullptr, RpcError::kInvalidRequest, "a message is a JSON object"));
    return;
  }
  const auto id = message.find("id");
  const bool id_valid = id != message.end() && (id->is_number_integer() || id->is_string());
  const auto method = message.find("method");
  if (method == message.end() || !method->is_string()) {
    // An answer to a request of ours: the server makes none, so there is nothing to match.
    if (id != message.end() && (message.contains("result") || message.contains("error"))) return;
    send(rpc_error(id_valid ? *id : nlohmann::json(nullptr), RpcError::kInvalidRequest, "a message without a method"));
    return;
  }
  if (id != message.end() && !id_valid) {
    send(rpc_error(nullptr, RpcError::kInvalidRequest, "a request id is a number or a string"));
    return;
  }
  static const nlohmann::json kNoParams = nlohmann::json::object();
  const auto given = message.find("params");
  const nlohmann::json& params = given == message.end() ? kNoParams : *given;
  if (id_valid)
    handle_request(*id, method->get<std::string>(), params);
  else
    handle_notification(method->get<std::string>(), params);
}

void LanguageServer::handle_request(const nlohmann::json& id, const std::string& method, const nlohmann::json& params) {
  if (state_ == State::kWaiting && method != "initialize") {
    send(rpc_error(id, RpcError::kServerNotInitialized, "the server is not initialized"));
    return;
  }
  if (state_ == State::kShutDown) {
    send(rpc_error(id, RpcError::kInvalidRequest, "the server is shut down"));
    return;
  }
  if (method == "initialize" && state_ != State::kWaiting) {
    send(rpc_error(id, RpcError::kInvalidRequest, "the server is already initialized"));
    return;
  }
  try {
    send(rpc_result(id, answer(method, params)));
  } catch (const UnknownMethod&) {
    send(rpc_error(id, RpcError::kMethodNotFound, "no method '" + echoed(method) + "'"));
  } catch (const nlohmann::json::exception& e) {
    send(rpc_error(id, RpcError::kInvalidParams, std::string("invalid parameters: ") + e.what()));
  } catch (const InvalidParams& e) {
    send(rpc_error(id, RpcError::kInvalidParams, e.what()));
  } catch (const std::exception& e) {
    send(rpc_error(id, RpcError::kInternalError, e.what()));
  }
}

nlohmann::json LanguageServer::answer(const std::string& method, const nlohmann::json& params) {
  if (method == "initialize") {
    try {
      timing_ = timing_settings_of(params.value("initializationOptions", nlohmann::json()));
    } catch (const std::invalid_argument& e) {
      throw InvalidParams(std::string("initializationOptions: ") + e.what());
    }
    state_ = State::kRunning;
    snippet_completions_ = takes_snippets(params);
    return {{"capabilities",
             {{"positionEncoding", "utf-16"},
              {"textDocumentSync", {{"openClose", true}, {"change", kFullSync}}},
              {"hoverProvider", true},
              {"completionProvider", {{"triggerCharacters", {"["}}}},
              {"documentSymbolProvider", true},
              {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
              {"executeCommandProvider", {{"commands", {kExplainCommand}}}}}},
            {"serverInfo", {{"name", "scenario-builder"}}}};
  }
  if (method == "shutdown") {
    state_ = State::kShutDown;
    return nullptr;
  }
  if (method == "textDocument/hover") {
    const OpenDocument& document = open_document(params);
    const auto readings = readings_.find(document.uri);
    if (const auto times = station_times_.find(document.uri); times != station_times_.end()) {
      nlohmann::json hover = station_time_hover_at(times->second, document.path.empty() ? document.uri : document.path.string(),
                                                   params.at("position").at("line").get<int>(),
                                                   params.at("position").at("character").get<int>());
      if (!hover.is_null()) return hover;
    }
    return hover_at(outline_source(document.text, role_of_text(document.path, document.text)),
                    position_number(params.at("position").at("line")), position_number(params.at("position").at("character")),
                    readings == readings_.end() ? std::nullopt : readings->second);
  }
  if (method == "textDocument/completion") {
    const OpenDocument& document = open_document(params);
    return completion_at(outline_source(document.text, role_of_text(document.path, document.text)),
                         position_number(params.at("position").at("line")), position_number(params.at("position").at("character")),
                         snippet_completions_ ? CompletionText::kSnippet : CompletionText::kPlain);
  }
  if (method == "textDocument/documentSymbol") {
    const OpenDocument& document = open_document(params);
    return document_symbols(outline_source(document.text, role_of_text(document.path, document.text)));
  }
  if (method == "textDocument/codeAction") {
    const OpenDocument& document = open_document(params);
    return code_actions(document.uri, document.text, params);
  }
  if (method == "workspace/executeCommand") {
    if (params.at("command").get<std::string>() != kExplainCommand)
      throw InvalidParams("no command '" + echoed(params["command"].get<std::string>()) + "'");
    const auto explanation = explanation_of_code(params.at("arguments").at(0).get<std::string>());
    if (!explanation) throw InvalidParams("no fault or warning of that code");
    send(rpc_notification("window/showMessage", {{"type", kInfoMessage}, {"message", *explanation}}));
    return nullptr;
  }
  throw UnknownMethod{};
}

const OpenDocument& LanguageServer::open_document(const nlohmann::json& params) const {
  const std::string uri = params.at("textDocument").at("uri").get<std::string>();
  const OpenDocument* document = documents_.find(uri);
  if (document == nullptr) throw InvalidParams("no open document '" + echoed(uri) + "'");
  return *document;
}

void LanguageServer::handle_notification(const std::string& method, const nlohmann::json& params) {
  if (method == "exit") {
    exited_ = true;
    exit_status_ = state_ == State::kShutDown ? 0 : 1;
    return;
  }
  // Notifications before initialize are dropped, as the protocol asks; cancellation and
  // tracing change nothing here, every answer being made at once.
  if (state_ != State::kRunning) return;
  try {
    if (method == "textDocument/didOpen") {
      const nlohmann::json& document = params.at("textDocument");
      check_pair(documents_.open(document.at("uri").get<std::string>(), text_of(params),
                                 document.value("version", int64_t{0})));
    } else if (method == "textDocument/didChange") {
      const nlohmann::json& changes = params.at("contentChanges");
      if (!changes.is_array() || changes.empty()) return;
      const nlohmann::json& document = params.at("textDocument");
      const std::string uri = document.at("uri").get<std::string>();
      const OpenDocument* open = documents_.find(uri);
      if (open == nullptr) return;
      if (const OpenDocument* changed = documents_.change(uri, changed_text(open->text, changes),
                                                          document.value("version", int64_t{0})))
        check_pair(*changed);
    } else if (method == "textDocument/didClose") {
      const std::string uri = params.at("textDocument").at("uri").get<std::string>();
      documents_.close(uri);
      readings_.erase(uri);
      station_times_.erase(uri);
      send(rpc_notification("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", nlohmann::json::array()}}));
    }
  } catch (const nlohmann::json::exception&) {
    // A notification has no answer to carry an error: a malformed one is dropped.
  } catch (const std::exception& e) {
    send(rpc_notification("window/logMessage", {{"type", kErrorMessage}, {"message", method + ": " + e.what()}}));
  }
}

void LanguageServer::check_pair(const OpenDocument& document) {
  const SourceRole role = role_of_text(document.path, document.text);
  const std::optional<Partner> partner = partner_of(documents_, document, role);
  const std::string name = document.path.empty() ? document.uri : document.path.string();
  const PairSource own{name, document.text, true};
  const PairSource other = partner ? PairSource{partner->path.string(), partner->bytes, partner->open} : PairSource{};
  const PairCompileResult result =
      role == SourceRole::kLine ? compile_pair(own, other, timing_) : compile_pair(other, own, timing_);

  std::vector<PublishedFile> files{{document.uri, name, document.text}};
  if (partner)
    files.push_back({partner->uri, partner->path.string(), partner->open ? partner->bytes : utf8_from_1252(partner->bytes)});
  for (const PublishedFile& file : files) readings_[file.uri] = result.readings;
  for (const PublishedFile& file : files) station_times_[file.uri] = result.station_times;
  for (const nlohmann::json& params : published_diagnostics(result, files, reference_uri_))
    send(rpc_notification("textDocument/publishDiagnostics", params));
}

int serve_language_protocol(std::istream& in, std::ostream& out, const std::string& reference_uri) {
  LanguageServer server(out, reference_uri);
  MessageReader reader(in);
  while (!server.exited()) {
    FramedMessage message = reader.next();
    if (message.kind == FramedMessage::Kind::kEnd) break;
    if (message.kind == FramedMessage::Kind::kMalformed)
      server.handle_malformed(message.problem);
    else
      server.handle_message(message.body);
  }
  return server.exit_status();
}

}  // namespace scenario
