// Control characters from sources, compiled texts and file names reach a terminal escaped,
// in diagnostics with the caret still under its character, in listings through standard
// output.
#include "driver/control_escapes.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "driver/diagnostics.hpp"
#include "model/source_place.hpp"

namespace scenario {
namespace {

TEST(ControlEscapes, ListingsPassLineEndsAndTabsAndEscapeTheRest) {
  std::stringbuf terminal;
  ControlEscapingBuffer escaping(&terminal);
  std::ostream out(&escaping);
  out << "PAVIA\x1b[2J\tfine\n" << std::string("nul\0del\x7f", 8) << "\xe0 kept\n";
  out.flush();
  EXPECT_EQ(terminal.str(), "PAVIA\\x1b[2J\tfine\nnul\\x00del\\x7f\xe0 kept\n");
}

// A C1 control (U+009B is a terminal's CSI) is escaped in UTF-8 and as a lone byte, even
// when written in two pieces; UTF-8 characters whose continuation bytes fall in the same
// range pass whole.
TEST(ControlEscapes, C1ControlsAreEscapedAndUtf8CharactersPass) {
  const struct {
    std::string text, escaped;
  } cases[] = {
      {"A\xc2\x9b" "2J", "A\\xc2\\x9b2J"},
      {"A\x9b" "2J", "A\\x9b2J"},
      {"\xc2\x85\xc2\xa0", "\\xc2\\x85\xc2\xa0"},
      {"Ko\xc5\x9b\xc4\x87 \xe2\x80\x9c", "Ko\xc5\x9b\xc4\x87 \xe2\x80\x9c"},
      {"\xe0 \x80 end\xc2", "\xe0 \\x80 end\xc2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(escaped_controls(c.text), c.escaped);
    std::stringbuf terminal;
    ControlEscapingBuffer escaping(&terminal);
    std::ostream out(&escaping);
    for (const char byte : c.text) out << byte;
    out.flush();
    EXPECT_EQ(terminal.str(), c.escaped);
  }
}

TEST(ControlEscapes, DiagnosticsShowTheEscapedLineWithTheCaretUnderItsCharacter) {
  std::ostringstream err;
  {
    Diagnostics diagnostics(err, false);
    SourcePlace place;
    place.file = "a\x1b]0;title\x07.txt";
    place.line = 3;
    place.column = 5;
    place.line_text = "\x1b[1mxy, 1";
    diagnostics.on_diagnostic(
        Diagnostic{Severity::kWarning, std::nullopt, "'\x1b[1mxy' matches nothing", place, std::nullopt, {}});
  }
  EXPECT_EQ(err.str().substr(0, err.str().find("scenario-builder:")),
            "a\\x1b]0;title\\x07.txt:3:5: warning: '\\x1b[1mxy' matches nothing\n"
            " \\x1b[1mxy, 1\n"
            "        ^\n");
}

}  // namespace
}  // namespace scenario
