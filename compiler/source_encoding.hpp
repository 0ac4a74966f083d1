#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/diagnostic.hpp"
#include "model/source_place.hpp"

namespace scenario {

// A source that cannot be read as text of this system: written in UTF-16 or UTF-32, or, when
// read as UTF-8, holding a character that Windows-1252 does not have. Nothing is compiled.
class SourceEncodingError : public std::runtime_error {
 public:
  SourceEncodingError(const std::string& what, std::string file, int line = 0, int column = 0,
                      std::string line_text = {})
      : std::runtime_error(what), file_(std::move(file)), line_(line), column_(column),
        line_text_(std::move(line_text)) {}

  // Where the character stands, when one character is the trouble.
  std::optional<SourcePlace> place() const {
    if (line_ == 0) return std::nullopt;
    return SourcePlace{file_, line_, column_, line_text_};
  }
  // The refusal as the author is told it: an error at the character, else of the file.
  Diagnostic diagnostic() const {
    Diagnostic refusal{Severity::kError, std::nullopt, what(), place(), std::nullopt, {}};
    refusal.file = file_;
    return refusal;
  }

 private:
  std::string file_;
  int line_;
  int column_;
  std::string line_text_;  // Windows-1252, as places carry it
};

// "UTF-16 (little-endian)" and the like for a text in UTF-16 or UTF-32, told by its
// byte-order mark or by the NUL bytes between its ASCII letters; none for any other text.
std::optional<std::string> wide_encoding_of(std::string_view bytes);

// A UTF-8 source (a byte-order mark at its start is dropped) as Windows-1252 text. A
// character that Windows-1252 does not have, or bytes that are not UTF-8, throw
// SourceEncodingError at their line and column.
std::string source_from_utf8(std::string_view bytes, const std::string& file);

}  // namespace scenario
