// The editors' grammar colours a line's first field as a keyword exactly when the compiler's
// keyword test would read it as that row.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <vector>

#include "schema/row_schema.hpp"
#include "driver/source_grammar.hpp"

namespace scenario {
namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string capitalised(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

TEST(SourceGrammar, KeywordPatternsAgreeWithTheKeywordTests) {
  // Every keyword and spelling the schema knows, capitalised too, and fields that hold a
  // keyword inside other words or none at all.
  std::vector<std::string> fields = {"  stazione", "la stazione nuova", "cartello indicatore", "[stazione]",
                                     "percorso", "numero", ""};
  for (const RowText* row : every_row()) {
    for (const std::string_view word : row->spellings) {
      fields.emplace_back(word);
      fields.push_back(capitalised(std::string(word)));
    }
  }
  for (const RowText* row : every_row()) {
    const std::regex pattern(keyword_field_pattern(row->test.words[0], row->test.words[1], row->test.any_case));
    for (const std::string& field : fields) {
      const bool coloured = std::regex_search(field + ", 100", pattern);
      EXPECT_EQ(coloured, row->test.matches(field, lower(field))) << row->keyword << " on '" << field << "'";
    }
  }
}

TEST(SourceGrammar, IsJsonWithAScopeOnEveryPattern) {
  const nlohmann::json grammar = nlohmann::json::parse(source_grammar_json());
  EXPECT_EQ(grammar.at("scopeName"), "source.scenario");
  for (const nlohmann::json& pattern : grammar.at("patterns")) {
    EXPECT_TRUE(pattern.at("name").get<std::string>().ends_with(".scenario")) << pattern;
    EXPECT_NO_THROW(std::regex(pattern.at("match").get<std::string>())) << pattern;
  }
}

}  // namespace
}  // namespace scenario
