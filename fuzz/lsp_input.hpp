#pragma once

// One fuzz input read as what a client sends the language server: framed messages, or
// bytes that frame nothing. Every input must end in an orderly way, the server answering
// what it can; a crash, a hang or a sanitizer report is a finding. Shared by the fuzzer and
// the regression test that replays the corpus.
#include <sstream>
#include <string>
#include <string_view>

#include "lsp/language_server.hpp"

namespace scenario::fuzzing {

inline void serve_lsp_fuzz_input(std::string_view input) {
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  serve_language_protocol(in, out, "file:///reference/source-format.md");
}

}  // namespace scenario::fuzzing
