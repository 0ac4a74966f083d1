#pragma once

#include <string_view>

namespace scenario {

// A place in a source text, for diagnostics: a row, or the field that failed.
struct SourcePlace {
  std::string_view file;       // the file's name as the author knows it
  int line = 0;                // 1-based
  int column = 0;              // 1-based, in bytes
  std::string_view line_text;  // the whole source line, without its line end
};

}  // namespace scenario
