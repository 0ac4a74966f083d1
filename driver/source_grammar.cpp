#include "driver/source_grammar.hpp"

#include <cctype>
#include <string_view>

#include "schema/row_schema.hpp"
#include "format/json_text.hpp"

namespace scenario {
namespace {

// Every scope ends with the language's name: "keyword.other.scenario".
constexpr std::string_view kLanguage = "scenario";
// A keyword field runs from the start of the line to the first field separator.
constexpr std::string_view kFieldCharacter = "[^,\\n]";

// `word` as a pattern: characters with a meaning in a pattern escaped, and each letter
// written as both of its cases when the test does not count case.
std::string word_pattern(std::string_view word, bool any_case) {
  std::string pattern;
  for (const char c : word) {
    const auto letter = static_cast<unsigned char>(c);
    if (any_case && std::isalpha(letter)) {
      pattern += '[';
      pattern += static_cast<char>(std::tolower(letter));
      pattern += static_cast<char>(std::toupper(letter));
      pattern += ']';
    } else if (std::string_view("\\^$.|?*+()[]{}/-").find(c) != std::string_view::npos) {
      pattern += '\\';
      pattern += c;
    } else {
      pattern += c;
    }
  }
  return pattern;
}

}  // namespace

std::string keyword_field_pattern(std::string_view first_word, std::string_view second_word, bool any_case) {
  std::string pattern = "^";
  for (const std::string_view word : {first_word, second_word})
    if (!word.empty()) pattern += "(?=" + std::string(kFieldCharacter) + "*" + word_pattern(word, any_case) + ")";
  return pattern + std::string(kFieldCharacter) + "+";
}

std::string source_grammar_json() {
  JsonValue patterns = JsonValue::array();
  const auto add = [&patterns](std::string_view scope, std::string_view pattern) {
    patterns.push_back({{"name", std::string(scope) + "." + std::string(kLanguage)}, {"match", json_text(pattern)}});
  };
  add("entity.name.section", "^\\s*\\[[^\\]\\n]*\\]");
  for (const RowText* row : every_row())
    add("keyword.other", keyword_field_pattern(row->test.words[0], row->test.words[1], row->test.any_case));
  add("string.quoted.double", "\"[^\"\\n]*\"?");
  add("constant.numeric", "-?\\b[0-9]+(?:\\.[0-9]+)?\\b");
  add("punctuation.separator", ",");
  return json_document({{"name", "Scenario sources"},
                        {"scopeName", "source." + std::string(kLanguage)},
                        {"comment", "Made by scenario-reference-pages grammar from the row schema; do not edit."},
                        {"patterns", std::move(patterns)}});
}

}  // namespace scenario
