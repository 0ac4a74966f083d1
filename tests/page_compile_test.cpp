// The page's compile run natively: the same compile as the program's, its diagnostics as
// JSON lines, whatever the editors' line ends.
#include "web/page_compile.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>
#include <string>

#include "model/windows_1252.hpp"
#include "sources/scenario_texts.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(PageCompile, TheBuiltInTextsCompileCleanWithAnyLineEnds) {
  const std::string line = utf8_from_1252(std::string(kLineSourceText));
  const std::string service = utf8_from_1252(std::string(kServiceSourceText));
  std::string lone_cr = line;
  std::replace(lone_cr.begin(), lone_cr.end(), '\n', '\r');
  for (const std::string& line_text : {line, lone_cr}) {
    const PageCompile compile = compile_page_sources(line_text, service, "Milano_Tortona", "5");
    EXPECT_EQ(compile.status, 0) << compile.diagnostics;
    EXPECT_EQ(compile.files.size(), 3u);
    ASSERT_EQ(compile.sources.size(), 2u);
    EXPECT_EQ(compile.sources[0].bytes, with_crlf(std::string(kLineSourceText)));
  }
}

// A line source that stops the compile leaves the service source only checked; a run-time
// failure found there is told at its place, with the service source's name (read from a copy
// that outlives the telling).
TEST(PageCompile, AFailureInTheCheckedServiceSourceIsToldAtItsPlace) {
  const std::string line = replaced(utf8_from_1252(std::string(kLineSourceText)), "[generale]", "[general]");
  const std::string service =
      replaced(utf8_from_1252(std::string(kServiceSourceText)), "sabbia,    300", "sabbia,    3x0");
  const PageCompile compile = compile_page_sources(line, service, "Milano_Tortona", "5");
  EXPECT_EQ(compile.status, 2);
  std::istringstream lines(compile.diagnostics);
  bool told = false;
  for (std::string text; std::getline(lines, text);) {
    const nlohmann::json diagnostic = nlohmann::json::parse(text);
    told = told || (diagnostic["fault"] == 25 && diagnostic["file"] == "Milano_Tortona_5-.txt" && diagnostic["line"] == 4);
  }
  EXPECT_TRUE(told) << compile.diagnostics;
}

}  // namespace
}  // namespace scenario
