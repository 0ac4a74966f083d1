#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lsp/source_outline.hpp"

namespace scenario {
namespace {

// The section each line stands in, by the outline, one letter a line: B before [generale],
// G the general section, M the main section, S the service source; the text's last line end
// is followed by one empty line.
std::string sections_of(const SourceOutline& outline) {
  std::string letters;
  for (const OutlineLine& line : outline.lines) letters += "BGMS"[static_cast<int>(line.section)];
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

}  // namespace
}  // namespace scenario
