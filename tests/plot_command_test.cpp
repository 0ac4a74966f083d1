#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "format/file_io.hpp"
#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

using testing::run_build_seam;
using testing::run_seam;
using testing::TempFolder;

TEST(PlotCommand, DrawsTheBuiltInScenarioWithEveryStation) {
  TempFolder folder;
  ASSERT_EQ(run_build_seam(folder.path()).exit_status, 0);

  const auto run = run_seam({"plot"}, folder.path());
  ASSERT_EQ(run.exit_status, 0) << run.err;
  const std::string svg = read_file(folder.path() / "Milano_Tortona_5.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("Milano_Tortona – train 5"), std::string::npos);
  for (const char* station :
       {"MILANO CENTRALE", "MILANO C.LE", "MILANO LAMBRATE", "ROGOREDO", "LOCATE TRIULZI", "VILLAMAGGIORE",
        "CERTOSA DI PAVIA", "PAVIA", "BIVIO GRAVELLONE", "CAVA MANARA", "BRESSANA BOTTARONE", "LUNGAVILLA", "VOGHERA",
        "PONTECURONE", "TORTONA"})
    EXPECT_NE(svg.find(std::string(">") + station + "<"), std::string::npos) << station;
  EXPECT_NE(svg.find("80 km/h"), std::string::npos) << "the slowdown is shaded with its speed";
}

TEST(PlotCommand, ChoosesTheScenarioOrSaysWhyItCannot) {
  TempFolder folder;
  ASSERT_EQ(run_build_seam(folder.path()).exit_status, 0);
  std::filesystem::copy_file(folder.path() / "Milano_Tortona_5.sim", folder.path() / "Other_7.sim");
  std::filesystem::copy_file(folder.path() / "Milano_Tortona_5.dat", folder.path() / "Other_7.dat");

  const auto ambiguous = run_seam({"plot", folder.path().string()}, "/");
  EXPECT_EQ(ambiguous.exit_status, 2);
  EXPECT_NE(ambiguous.err.find("Milano_Tortona_5 Other_7"), std::string::npos) << ambiguous.err;

  const auto chosen =
      run_seam({"plot", folder.path().string(), "--number", "5", "-o", "route.svg"}, folder.path());
  EXPECT_EQ(chosen.exit_status, 0) << chosen.err;
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "route.svg"));

  TempFolder empty;
  const auto nothing = run_seam({"plot"}, empty.path());
  EXPECT_EQ(nothing.exit_status, 2);
  EXPECT_NE(nothing.err.find("no compiled scenario"), std::string::npos) << nothing.err;
}

// A window that holds nothing of the route is an error, not a picture of its edge; one that
// reaches past the end is drawn to the end.
TEST(PlotCommand, AWindowOutsideTheRouteIsRefused) {
  TempFolder folder;
  ASSERT_EQ(run_build_seam(folder.path()).exit_status, 0);
  struct Case {
    std::vector<std::string> window;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"--to", "0"}, "metres 0 to 0 lie outside the route, which runs from 0 to 82000 m; nothing drawn"},
      {{"--from", "900000"}, "metres 900000 to 82000 lie outside the route, which runs from 0 to 82000 m; nothing drawn"},
      {{"--from", "82000", "--to", "90000"},
       "metres 82000 to 90000 lie outside the route, which runs from 0 to 82000 m; nothing drawn"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"plot", "-o", "-"};
    arguments.insert(arguments.end(), c.window.begin(), c.window.end());
    const auto run = run_seam(arguments, folder.path());
    EXPECT_EQ(run.exit_status, 2) << c.err;
    EXPECT_EQ(run.err, "scenario-builder: error: " + c.err + "\n");
    EXPECT_EQ(run.out, "");
  }
  const auto past_the_end = run_seam({"plot", "-o", "-", "--from", "81000", "--to", "900000"}, folder.path());
  EXPECT_EQ(past_the_end.exit_status, 0) << past_the_end.err;
  EXPECT_TRUE(testing::contains(past_the_end.out, "metres 81000 to 82000")) << past_the_end.out.substr(0, 400);
}

TEST(PlotCommand, ADamagedFileIsNamedWithItsOffset) {
  TempFolder folder;
  ASSERT_EQ(run_build_seam(folder.path()).exit_status, 0);
  std::filesystem::resize_file(folder.path() / "Milano_Tortona_5.dat", 100);

  const auto run = run_seam({"plot"}, folder.path());
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find("Milano_Tortona_5.dat"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("byte 100"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "Milano_Tortona_5.svg"));
}

}  // namespace
}  // namespace scenario
