#include <gtest/gtest.h>

#include <string>

#include "format/file_io.hpp"
#include "tests/program_runner.hpp"

namespace scenario {
namespace {

using testing::copy_program_into;
using testing::run_builder;
using testing::run_in;
using testing::TempFolder;
using testing::write_bytes;

// summary, diff and plot as an author runs them, with their exit statuses; names and
// numbers that hold "_" are found by listing the folder.
TEST(ReadingCommands, SummaryDiffAndPlotOnCompiledFolders) {
  TempFolder a, b;
  const auto program = copy_program_into(a.path());
  ASSERT_EQ(run_in(program, {}, a.path()).exit_status, 0);
  ASSERT_EQ(run_builder({"sources", "-o", b.path().string()}, "/").exit_status, 0);
  std::string service = read_file(b.path() / "Milano_Tortona_5-.txt");
  service.replace(service.find("18,42, 0, PAVIA"), 15, "18,44, 0, PAVIA");
  write_bytes(b.path() / "Milano_Tortona_5-.txt", service);
  ASSERT_EQ(run_builder({"compile", "Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt", "--name", "Milano_Tortona_A",
                         "--number", "5_b"},
                        b.path())
                .exit_status,
            0);

  const auto summary = run_builder({"summary"}, b.path());
  EXPECT_EQ(summary.exit_status, 0) << summary.err;
  EXPECT_NE(summary.out.find("  name: Milano_Tortona_A\n  number: 5_b\n"), std::string::npos) << summary.out;
  EXPECT_NE(summary.out.find("line plan: computed for metres 0 to 88 998"), std::string::npos);

  const auto same = run_builder({"diff", a.path().string(), a.path().string()}, "/");
  EXPECT_EQ(same.exit_status, 0);
  EXPECT_EQ(same.out, "");
  const auto changed = run_builder({"diff", a.path().string(), b.path().string()}, "/");
  EXPECT_EQ(changed.exit_status, 1) << changed.err;
  EXPECT_NE(changed.out.find("  station 'PAVIA': time 18.42 → 18.44\n"), std::string::npos) << changed.out;
  EXPECT_NE(changed.out.find("  scenario: name 'Milano_Tortona' → 'Milano_Tortona_A'\n"), std::string::npos);
  const auto missing = run_builder({"diff", a.path().string(), "nowhere"}, "/");
  EXPECT_EQ(missing.exit_status, 2);

  const auto svg = run_builder({"plot", "-o", "-"}, b.path());
  EXPECT_EQ(svg.exit_status, 0);
  EXPECT_EQ(svg.out.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.out.find("Milano_Tortona_A – train 5_b"), std::string::npos);
  EXPECT_EQ(svg.out.find("no line plan"), std::string::npos) << "the plan of a name with '_' is found";
}

}  // namespace
}  // namespace scenario
