#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "driver/commands.hpp"
#include "driver/program_folder.hpp"
#include "format/file_uri.hpp"
#include "lsp/language_server.hpp"

namespace scenario {
namespace {

// The source-format reference where this program runs: the copy beside it (a build folder
// has one), else the installed one; "" when neither is there, and diagnostics link to none.
std::string reference_uri() {
  const std::filesystem::path places[] = {program_folder() / "source-format.md",
                                          std::filesystem::path(SCENARIO_DOC_DIR) / "source-format.md"};
  for (const std::filesystem::path& place : places) {
    std::error_code error;
    if (std::filesystem::is_regular_file(place, error)) return uri_of_path(place.string());
  }
  return "";
}

}  // namespace

int run_lsp_command(Console& console) {
  return serve_language_protocol(std::cin, console.out, reference_uri());
}

}  // namespace scenario
