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
