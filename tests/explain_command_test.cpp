#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/fault_table.hpp"
#include "model/warning_table.hpp"
#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

TEST(ExplainCommand, OneFaultWithItsCausesFixesAndExample) {
  const testing::TempFolder folder;
  const testing::ProgramRun run = testing::run_seam({"explain", "16"}, folder.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(run.out.starts_with("fault 16: signal on an occupied cell\n\n")) << run.out;
  const FaultDescription& fault = *find_fault(16);
  for (const FaultCause& cause : fault_causes(fault)) {
    // Causes and fixes are wrapped, so their first words are what can be looked for.
    EXPECT_TRUE(testing::contains(run.out, "  - " + std::string(cause.cause.substr(0, 20))));
    EXPECT_TRUE(testing::contains(run.out, "    Fix: " + std::string(cause.fix.substr(0, 20))));
  }
  EXPECT_TRUE(testing::contains(run.out, "Example:\n  segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240\n"));
}

TEST(ExplainCommand, OneWarningInTheSameForm) {
  const testing::TempFolder folder;
  for (const std::string given : {"W10", "w10"}) {
    const testing::ProgramRun run = testing::run_seam({"explain", given}, folder.path());
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out.starts_with("W10: value outside its documented range\n\n")) << run.out;
    EXPECT_TRUE(testing::contains(run.out, "Example:\n  pendenza,  1200,   200\n")) << run.out;
  }
}

TEST(ExplainCommand, AloneListsEveryFaultAndEveryWarning) {
  const testing::TempFolder folder;
  const testing::ProgramRun run = testing::run_seam({"explain"}, folder.path());
  EXPECT_EQ(run.exit_status, 0);
  for (const FaultDescription& fault : fault_table()) {
    EXPECT_TRUE(testing::contains(run.out, std::to_string(fault_number(fault.fault)) + "  " + std::string(fault.meaning) + "\n"));
  }
  for (const WarningDescription& warning : warning_table()) {
    EXPECT_TRUE(testing::contains(
        run.out, warning_id(warning_number(warning.warning)) + "  " + std::string(warning.title) + "\n"));
  }
}

TEST(ExplainCommand, ANumberThatIsNoFaultExitsTwo) {
  const testing::TempFolder folder;
  for (const std::string given : {"14", "0", "16x", "99999999999"}) {
    const testing::ProgramRun run = testing::run_seam({"explain", given}, folder.path());
    EXPECT_EQ(run.exit_status, 2) << given;
    EXPECT_EQ(run.out, "") << given;
    EXPECT_EQ(run.err, "scenario-builder: error: no fault numbered '" + given +
                           "'; 'scenario-builder explain' lists them all\n");
  }
  for (const std::string given : {"W0", "W", "W99", "W3x"}) {
    const testing::ProgramRun run = testing::run_seam({"explain", given}, folder.path());
    EXPECT_EQ(run.exit_status, 2) << given;
    EXPECT_EQ(run.err, "scenario-builder: error: no warning numbered '" + given +
                           "'; 'scenario-builder explain' lists them all\n");
  }
}

}  // namespace
}  // namespace scenario
