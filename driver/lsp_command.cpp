#include <iostream>
#include <string>

#include "driver/commands.hpp"
#include "format/file_uri.hpp"
#include "lsp/language_server.hpp"

namespace scenario {

int run_lsp_command(Console& console) {
  // Diagnostic codes link to the installed reference.
  const std::string reference = uri_of_path(SCENARIO_DOC_DIR "/source-format.md");
  return serve_language_protocol(std::cin, console.out, reference);
}

}  // namespace scenario
