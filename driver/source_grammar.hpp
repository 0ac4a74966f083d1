#pragma once

#include <string>
#include <string_view>

namespace scenario {

// The TextMate grammar of both sources, made from the row schema: section headers, the
// keyword field of each row as its keyword test recognises it, quoted texts, numbers and
// field separators. Editors colour the sources with it; the browser page reads its patterns.
std::string source_grammar_json();

// The pattern that recognises a row's keyword field at the start of a line: one look-ahead
// per word of the row's keyword test, in the regular-expression syntax that TextMate grammars
// and ECMAScript share.
std::string keyword_field_pattern(std::string_view first_word, std::string_view second_word, bool any_case);

}  // namespace scenario
