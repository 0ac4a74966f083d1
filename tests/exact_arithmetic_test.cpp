// Sums, differences and comparisons on the way are exact; only a value stored into a field
// is checked against what the field holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compile_fixture.hpp"

namespace scenario {
namespace {

std::string line_source(const std::string& length, const std::string& general, const std::string& main) {
  return "[generale]\nlunghezza percorso, " + length + "\n" + general + "[curve]\n" + main + "[fine]\n";
}

TEST(ExactArithmetic, IntermediateValuesNeverFailOnTheirOwn) {
  struct Case {
    const char* what;
    std::string line;
    int fault;
  };
  const std::vector<Case> cases = {
      {"a gradient whose stored byte takes the low bits of gradient + 100",
       line_source("1000", "", "pendenza, 0, 2147483600\npendenza, 500, 0\n"), 0},
      {"a curve end past 32 bits runs the plan past its limit",
       line_source("1000000", "", "curvad1, 990000, 2147483000\n"), 103},
      {"kilometre-post positions whose sum passes 32 bits",
       line_source("1000", "progressiva chilometrica uno, 2147483600, 0, 0\nprogressiva chilometrica due, 100, 0, 0\n",
                   ""),
       0},
      {"a mountain gap past 32 bits",
       line_source("1000", "", "montagna, 0, -2147483600, 2\nmontagna, 200, 400, 2\n"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(testing::compile_texts(c.line, "[generale]\n").error_code, c.fault);
  }

  const ScenarioModel gradient = testing::compile_texts(cases[0].line, "[generale]\n").model;
  EXPECT_EQ(gradient.cell(9).gradient, (2147483600LL + 100) % 256);

  const ScenarioModel posts = testing::compile_texts(cases[2].line, "[generale]\n").model;
  EXPECT_EQ(posts.record(81).start_m, 2147483600);
  EXPECT_EQ(posts.record(82).start_m, 100);

  // 200 m after an end far below zero is no close follower: the type stays.
  const ScenarioModel mountains = testing::compile_texts(cases[3].line, "[generale]\n").model;
  EXPECT_EQ(mountains.cell(4).mountain, 2);
}

}  // namespace
}  // namespace scenario
