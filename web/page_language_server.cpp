// The language server in the page: the editors' client sends it one message body at a time
// through the worker and gets back the bodies it answers and publishes, unframed.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>
#include <sstream>
#include <string>

#include "lsp/language_server.hpp"
#include "lsp/message_framing.hpp"

namespace scenario {
namespace {

using emscripten::val;

// The server and the stream it writes its framed messages to, read back after each message.
struct PageServer {
  explicit PageServer(const std::string& reference_uri) : server(written, reference_uri) {}
  std::stringstream written;
  LanguageServer server;
};

std::unique_ptr<PageServer>& page_server() {
  static std::unique_ptr<PageServer> server;
  return server;
}

}  // namespace

// Starts the server afresh; diagnostic codes link to the reference at `reference_uri`.
void start_language_server(const std::string& reference_uri) {
  page_server() = std::make_unique<PageServer>(reference_uri);
}

// One message from the client; the messages the server sends in return, in order.
val language_message(const std::string& body) {
  val sent = val::array();
  std::unique_ptr<PageServer>& page = page_server();
  if (!page) return sent;
  page->server.handle_message(body);
  MessageReader reader(page->written);
  for (FramedMessage message = reader.next(); message.kind != FramedMessage::Kind::kEnd; message = reader.next())
    if (message.kind == FramedMessage::Kind::kMessage) sent.call<void>("push", message.body);
  page->written.str({});
  page->written.clear();
  return sent;
}

EMSCRIPTEN_BINDINGS(page_language_server) {
  emscripten::function("startLanguageServer", &start_language_server);
  emscripten::function("languageMessage", &language_message);
}

}  // namespace scenario
