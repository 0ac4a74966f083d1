#pragma once

#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "lsp/document_store.hpp"
#include "lsp/timing_hover.hpp"
#include "reading/kilometre_readings.hpp"

namespace scenario {

// The language server of the two sources: it answers one message at a time and writes its
// answers and notifications, framed, to `out`. It reads the partner of an open source from
// disk when the editor does not have it open, and never writes a file.
class LanguageServer {
 public:
  // `reference_uri`: the file URI of the source-format reference, which diagnostic codes
  // link to; "" for no link.
  LanguageServer(std::ostream& out, std::string reference_uri);

  // One message body as it came.
  void handle_message(std::string_view body);
  // A header block that framed no message.
  void handle_malformed(std::string_view problem);

  // The client asked the server to exit (or can no longer be written to).
  bool exited() const { return exited_; }
  // 0 after an exit that followed a shutdown, 1 otherwise.
  int exit_status() const { return exit_status_; }

 private:
  enum class State { kWaiting, kRunning, kShutDown };

  void handle_request(const nlohmann::json& id, const std::string& method, const nlohmann::json& params);
  void handle_notification(const std::string& method, const nlohmann::json& params);
  nlohmann::json answer(const std::string& method, const nlohmann::json& params);

  // Compiles the pair an open document belongs to and publishes the diagnostics of both.
  void check_pair(const OpenDocument& document);
  const OpenDocument& open_document(const nlohmann::json& params) const;

  void send(const nlohmann::json& message);

  std::ostream& out_;
  std::string reference_uri_;
  State state_ = State::kWaiting;
  bool exited_ = false;
  int exit_status_ = 1;
  // Whether the client takes completions as snippets, as its initialize said.
  bool snippet_completions_ = false;
  DocumentStore documents_;
  // The kilometre readings of the last compile of each open document's pair, for hover.
  std::map<std::string, std::optional<KilometreReadings>, std::less<>> readings_;
  // The running-time settings of the initialization options, and what hover tells over the
  // station times of each open document's last compile.
  TimingSettings timing_;
  std::map<std::string, std::vector<StationTimeHover>, std::less<>> station_times_;
};

// Serves the protocol on `in` and `out` until the client exits or goes; the exit status.
int serve_language_protocol(std::istream& in, std::ostream& out, const std::string& reference_uri);

}  // namespace scenario
