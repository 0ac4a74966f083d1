#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lsp/completion.hpp"
#include "lsp/document_symbols.hpp"
#include "lsp/hover.hpp"
#include "lsp/source_outline.hpp"

namespace scenario {
namespace {

// The section each line stands in, by the outline, one letter a line: B before [generale],
// G the general section, M the main section, S the service source; the text's last line end
// is followed by one empty line.
std::string sections_of(const SourceOutline& outline) {
  std::string letters;
  for (int line = 0; const std::optional<std::size_t> byte = outline.byte_at(line, 0); ++line)
    letters += "BGMS"[static_cast<int>(outline.section_at(*byte))];
  return letters;
}

TEST(SourceOutline, SectionsBeginAndEndWhereTheCompilerTakesThem) {
  struct Case {
    const char* name;
    const char* text;
    SourceRole role;
    const char* sections;
  };
  const Case cases[] = {
      {"a header ends the general section", "note\n[generale]\nlunghezza percorso, 9000\n[curve]\ncurvad1, 0, 50\n",
       SourceRole::kLine, "BGGMMM"},
      {"a dashed header is a note, not an end", "[generale]\n-[curve]\nlunghezza percorso, 9000\n[pendenze]\n",
       SourceRole::kLine, "GGGMM"},
      {"a second [generale] ends it, and does not begin it again",
       "[generale]\nsfondo uno, 1\n[GENERALE]\npendenza, 0, 1\n[generale]\n", SourceRole::kLine, "GGMMMM"},
      {"any letter case and words around it begin it", "x\nnote [Generale] here\nsabbia, 1\n", SourceRole::kService,
       "BSSS"},
  };
  for (const Case& c : cases) EXPECT_EQ(sections_of(outline_source(c.text, c.role)), c.sections) << c.name;
}

// The hover's text at a line and character, "" where there is none.
std::string hovered(const SourceOutline& outline, int line, int character) {
  const nlohmann::json hover = hover_at(outline, line, character, std::nullopt);
  return hover.is_null() ? "" : hover["contents"]["value"].get<std::string>();
}

// Rows as the compiler reads them, not as their lines lay them out: fields over line ends
// (a line end parts fields as a comma does), two rows on a line, numbers parted by blanks
// alone, a row that lacks a field taking the next line's keyword for it.
constexpr const char* kServiceRowsOverLines =
    "[generale]\n"
    "orologio, 6 30 0\n"
    "sabbia, 1, numero vetture, 8\n"
    "stazione, 3800, 2, 700\n"
    "  0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, \"MILANO\n"
    "LAMBRATE\"\n"
    "velocita\r\n"
    "  2500\r\n"
    "  90\r\n"
    "abbattimento, 4700\n"
    "segnale, 1750\n";

TEST(SourceOutline, HoverTellsTheFieldsAsTheCompilerReadsThem) {
  const SourceOutline outline = outline_source(kServiceRowsOverLines, SourceRole::kService);
  struct Case {
    int line;
    int character;
    const char* told;  // "" for no hover
  };
  const Case cases[] = {
      {1, 12, "**minutes** of `orologio`"},
      {1, 15, "**seconds** of `orologio`"},
      {2, 18, "**numero vetture**: a row of"},
      {2, 28, "**count** of `numero vetture`"},
      {4, 2, "**field 4** of `stazione`"},
      {4, 9, "**field 6** of `stazione`"},
      {4, 42, "**name** of `stazione`"},
      {5, 3, "**name** of `stazione`"},
      {7, 3, "**position** of `velocita`"},
      {8, 3, "**speed** of `velocita`"},
      {9, 2, "**abbattimento**: a row of"},
      {10, 2, "**value** of `abbattimento`"},
      {10, 10, ""},
  };
  for (const Case& c : cases) {
    const std::string text = hovered(outline, c.line, c.character);
    if (*c.told == '\0')
      EXPECT_EQ(text, "") << c.line << ":" << c.character;
    else
      EXPECT_NE(text.find(c.told), std::string::npos) << c.line << ":" << c.character << "\n" << text;
  }
  // The station's name spans both its lines.
  const nlohmann::json name = hover_at(outline, 5, 3, std::nullopt);
  EXPECT_EQ(name["range"], nlohmann::json::parse(R"({"start": {"line": 4, "character": 41},
                                                     "end": {"line": 5, "character": 9}})"));
  // The exit cell from the station's fields, read over the line end.
  EXPECT_NE(hovered(outline, 3, 11).find("The station's exit is cell 82"), std::string::npos);
}

TEST(SourceOutline, SymbolsAndCompletionTakeARowOverLinesAsOne) {
  const SourceOutline outline = outline_source(kServiceRowsOverLines, SourceRole::kService);
  const nlohmann::json sections = document_symbols(outline);
  ASSERT_EQ(sections.size(), 1u);
  const nlohmann::json& station = sections[0]["children"].at(0);
  EXPECT_EQ(station["name"], "MILANO\nLAMBRATE");
  EXPECT_EQ(station["range"]["start"]["line"], 3);
  EXPECT_EQ(station["range"]["end"]["line"], 5);
  // A keyword field may begin a row; a field of a row over its lines may not.
  for (const auto& [line, character, offered] : {std::tuple{4, 2, false}, std::tuple{8, 2, false},
                                                 std::tuple{2, 16, true}, std::tuple{6, 0, true}}) {
    const nlohmann::json items = completion_at(outline, line, character, CompletionText::kPlain)["items"];
    EXPECT_EQ(!items.empty(), offered) << line << ":" << character;
  }
}

}  // namespace
}  // namespace scenario
