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

TEST(PlotCommand, DrawsTheBuiltInScenarioWithEveryStation) {
  TempFolder folder;
  const auto program = copy_program_into(folder.path());
  ASSERT_EQ(run_in(program, {}, folder.path()).exit_status, 0);

  const auto run = run_builder({"plot"}, folder.path());
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
  const auto program = copy_program_into(folder.path());
  ASSERT_EQ(run_in(program, {}, folder.path()).exit_status, 0);
  std::filesystem::copy_file(folder.path() / "Milano_Tortona_5.sim", folder.path() / "Other_7.sim");
  std::filesystem::copy_file(folder.path() / "Milano_Tortona_5.dat", folder.path() / "Other_7.dat");

  const auto ambiguous = run_builder({"plot", folder.path().string()}, "/");
  EXPECT_EQ(ambiguous.exit_status, 2);
  EXPECT_NE(ambiguous.err.find("Milano_Tortona_5 Other_7"), std::string::npos) << ambiguous.err;

  const auto chosen =
      run_builder({"plot", folder.path().string(), "--number", "5", "-o", "route.svg"}, folder.path());
  EXPECT_EQ(chosen.exit_status, 0) << chosen.err;
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "route.svg"));

  TempFolder empty;
  const auto nothing = run_builder({"plot"}, empty.path());
  EXPECT_EQ(nothing.exit_status, 2);
  EXPECT_NE(nothing.err.find("no compiled scenario"), std::string::npos) << nothing.err;
}

TEST(PlotCommand, ADamagedFileIsNamedWithItsOffset) {
  TempFolder folder;
  const auto program = copy_program_into(folder.path());
  ASSERT_EQ(run_in(program, {}, folder.path()).exit_status, 0);
  std::filesystem::resize_file(folder.path() / "Milano_Tortona_5.dat", 100);

  const auto run = run_builder({"plot"}, folder.path());
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_NE(run.err.find("Milano_Tortona_5.dat"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("byte 100"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "Milano_Tortona_5.svg"));
}

}  // namespace
}  // namespace scenario
