#include <gtest/gtest.h>

#include <string>

#include "reading/compiled_scenario.hpp"
#include "format/file_io.hpp"
#include "tests/program_runner.hpp"

namespace scenario {
namespace {

using testing::run_build_seam;
using testing::run_seam;
using testing::TempFolder;
using testing::write_bytes;

// summary, diff and plot as an author runs them, with their exit statuses; names and
// numbers that hold "_" are found by listing the folder.
TEST(ReadingCommands, SummaryDiffAndPlotOnCompiledFolders) {
  TempFolder a, b;
  ASSERT_EQ(run_build_seam(a.path()).exit_status, 0);
  ASSERT_EQ(run_seam({"sources", "-o", b.path().string()}, "/").exit_status, 0);
  std::string service = read_file(b.path() / "Milano_Tortona_5-.txt");
  service.replace(service.find("18,42, 0, PAVIA"), 15, "18,44, 0, PAVIA");
  write_bytes(b.path() / "Milano_Tortona_5-.txt", service);
  ASSERT_EQ(run_seam({"compile", "Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt", "--name", "Milano_Tortona_A",
                         "--number", "5_b"},
                        b.path())
                .exit_status,
            0);

  const auto summary = run_seam({"summary"}, b.path());
  EXPECT_EQ(summary.exit_status, 0) << summary.err;
  EXPECT_NE(summary.out.find("  name: Milano_Tortona_A\n  number: 5_b\n"), std::string::npos) << summary.out;
  EXPECT_NE(summary.out.find("line plan: computed for metres 0 to 88 998"), std::string::npos);

  const auto same = run_seam({"diff", a.path().string(), a.path().string()}, "/");
  EXPECT_EQ(same.exit_status, 0);
  EXPECT_EQ(same.out, "");
  const auto changed = run_seam({"diff", a.path().string(), b.path().string()}, "/");
  EXPECT_EQ(changed.exit_status, 1) << changed.err;
  EXPECT_NE(changed.out.find("  station 'PAVIA': time 18.42 → 18.44\n"), std::string::npos) << changed.out;
  EXPECT_NE(changed.out.find("  scenario: name 'Milano_Tortona' → 'Milano_Tortona_A'\n"), std::string::npos);
  const auto missing = run_seam({"diff", a.path().string(), "nowhere"}, "/");
  EXPECT_EQ(missing.exit_status, 2);

  const auto svg = run_seam({"plot", "-o", "-"}, b.path());
  EXPECT_EQ(svg.exit_status, 0);
  EXPECT_EQ(svg.out.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.out.find("Milano_Tortona_A – train 5_b"), std::string::npos);
  EXPECT_EQ(svg.out.find("no line plan"), std::string::npos) << "the plan of a name with '_' is found";
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

// The naming rule a folder's compiled scenarios are found by, and files opened together in
// the page are grouped by: one table of file-name sets.
TEST(CompiledScenarioNames, AStemSplitsAtTheLongestPlanNameElseAtItsLastUnderscore) {
  struct Case {
    const char* what;
    std::vector<std::string> files;
    std::vector<std::string> found;  // name|number|plan, in the order of the stems
  };
  const std::vector<Case> cases = {
      {"one scenario with its plan", {"Milano_Tortona_linea.dat", "Milano_Tortona_5.sim", "Milano_Tortona_5.dat"},
       {"Milano_Tortona|5|plan"}},
      {"no plan: the last underscore", {"Milano_Tortona_5.sim", "Milano_Tortona_5.dat"}, {"Milano_Tortona|5|"}},
      {"a number with an underscore, told by the plan", {"A_linea.dat", "A_5_bis.sim", "A_5_bis.dat"}, {"A|5_bis|plan"}},
      {"the longest plan name wins", {"A_linea.dat", "A_B_linea.dat", "A_B_7.sim", "A_B_7.dat"}, {"A_B|7|plan"}},
      {"records without track cells", {"A_linea.dat", "A_5.sim"}, {}},
      {"two trains on one line", {"A_linea.dat", "A_5.sim", "A_5.dat", "A_6.sim", "A_6.dat"}, {"A|5|plan", "A|6|plan"}},
      {"a stem without an underscore", {"A5.sim", "A5.dat"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> found;
    for (const NamedScenario& s : scenarios_among(c.files, std::nullopt, std::nullopt))
      found.push_back(s.name + "|" + s.number + "|" + (s.has_plan ? "plan" : ""));
    EXPECT_EQ(found, c.found);
  }
  const std::vector<std::string> two = {"A_linea.dat", "A_5.sim", "A_5.dat", "A_6.sim", "A_6.dat"};
  ASSERT_EQ(scenarios_among(two, std::nullopt, std::string("6")).size(), 1u);
  EXPECT_EQ(scenarios_among(two, std::string("B"), std::nullopt).size(), 0u);
}

}  // namespace
}  // namespace scenario
