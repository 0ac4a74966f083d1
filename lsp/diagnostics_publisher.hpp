#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/pair_compile.hpp"

namespace scenario {

// A file whose diagnostics are published: its URI, the name its places carry, and its text
// as the editor shows it (UTF-8), for the ranges.
struct PublishedFile {
  std::string uri;
  std::string name;
  std::string text;
};

// The parameters of one textDocument/publishDiagnostics for each file, every diagnostic of
// the compile at its place: range, severity, code (the fault number or the warning id) with
// `codeDescription` at its section of the reference (`reference_uri`, a file URI; none where
// it is ""), the notes as related information and the fix, when there is one, as `data`. A
// diagnostic at no place of these files goes to the first file, at its start. A file without
// diagnostics gets an empty list, which clears what it showed.
std::vector<nlohmann::json> published_diagnostics(const PairCompileResult& compile, std::span<const PublishedFile> files,
                                                  std::string_view reference_uri);

// The range of the field that begins at a compiler's place (1-based line, column in
// characters) of a UTF-8 text split into its `lines` (text_lines): up to the next comma or
// the line's end, blanks left out.
nlohmann::json range_of_place(std::span<const std::string_view> lines, int line, int column);

// The code of a diagnostic as published: "fault 13", "W5", or none.
std::string diagnostic_code(const KeptDiagnostic& diagnostic);

}  // namespace scenario
