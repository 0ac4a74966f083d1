#pragma once

// The page's compile, apart from WebAssembly: the module's entry hands it the editors' texts
// and turns its result into JavaScript values, and the tests run it natively, under the
// sanitizers too.
#include <string>
#include <vector>

#include "compiler/compile_entry.hpp"

namespace scenario {

// Every line end of an editor's text as CR LF: a lone LF or a lone CR alike.
std::string with_crlf(const std::string& text);

struct PageCompile {
  int status = 0;                         // the status the program would exit with
  int faults = 0;                         // faults and warnings told among the diagnostics
  int warnings = 0;
  std::string diagnostics;                // JSON lines
  std::vector<CompiledFileBytes> sources;  // both sources as the program reads them; none when not UTF-8
  std::vector<CompiledFileBytes> files;    // the compiled files, when the compile is clean of faults
};

// Compiles the two editor texts (UTF-8) under the scenario's name and number, as the program
// compiles them once saved: Windows-1252, CR LF.
PageCompile compile_page_sources(const std::string& line_text, const std::string& service_text, const std::string& name,
                                 const std::string& number);

}  // namespace scenario
