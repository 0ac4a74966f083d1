#include "plot/plan_trace.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "format/byte_reader.hpp"
#include "format/line_plan_decoder.hpp"
#include "tests/reading_fixture.hpp"
#include "tests/temp_folder.hpp"

namespace scenario {
namespace {

void expect_same_trace(const PlanTrace& a, const PlanTrace& b, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(a.points, b.points);
  EXPECT_EQ(a.min_x, b.min_x);
  EXPECT_EQ(a.max_x, b.max_x);
  EXPECT_EQ(a.min_y, b.min_y);
  EXPECT_EQ(a.max_y, b.max_y);
  EXPECT_EQ(a.path, b.path);
  EXPECT_EQ(a.last, b.last);
  EXPECT_EQ(a.places, b.places);
  ASSERT_EQ(a.turnings.size(), b.turnings.size());
  for (size_t i = 0; i < a.turnings.size(); ++i) {
    EXPECT_EQ(a.turnings[i].from_m, b.turnings[i].from_m) << "run " << i;
    EXPECT_EQ(a.turnings[i].to_m, b.turnings[i].to_m) << "run " << i;
    EXPECT_EQ(a.turnings[i].text, b.turnings[i].text) << "run " << i;
  }
}

// The built-in plan traced in two halves gives the trace of one pass wherever the halves
// meet: on the first metres, at every start of a turning run and beside it (where the second
// half's first run must join the first half's last, or not), and at the plan's end; for the
// whole route and for windows on either side of the middle, with metres asked for on both.
TEST(PlanTrace, TracedInHalvesItIsTheTraceOfOnePass) {
  const LoadedScenario& s = testing::builtin_scenario();
  ASSERT_LT(s.plan_points, kSplitTraceFromPoints) << "trace_plan reads this plan in one pass";
  const std::vector<int64_t> wanted = {-50, 0, 1, 2, 1000, 40500, 60950, 82000, 82001, 95000};
  const PlanTrace whole = trace_plan(s, 0, 89000, wanted, 1500);
  std::set<int64_t> middles = {2, 3, 4, 1024, 1025, 41000, s.plan_points - 2, s.plan_points - 1, s.plan_points};
  for (const TurningRun& run : whole.turnings)
    for (const int64_t m : {run.from_m - 1, run.from_m, run.from_m + 1}) middles.insert(m);
  ASSERT_GT(middles.size(), 100u);
  for (const int64_t middle : middles)
    expect_same_trace(trace_plan_in_halves(s, 0, 89000, wanted, 1500, middle), whole,
                      "middle " + std::to_string(middle));
  for (const auto& [from_m, to_m] : {std::pair<int64_t, int64_t>{35000, 45000}, {100, 20000}, {70000, 80000}}) {
    const PlanTrace window = trace_plan(s, from_m, to_m, wanted, 300);
    for (const int64_t middle : std::vector<int64_t>{2, from_m - 1, from_m, from_m + 7, 41000, to_m, to_m + 1, 81000})
      expect_same_trace(trace_plan_in_halves(s, from_m, to_m, wanted, 300, middle), window,
                        "window " + std::to_string(from_m) + ".." + std::to_string(to_m) + ", middle " +
                            std::to_string(middle));
  }
}

// Read from a file a window at a time, halves and all; a damaged plan is refused with the
// message of one pass, wherever the damage lies.
TEST(PlanTrace, APlanFileIsTracedAndCheckedInHalvesAsInOnePass) {
  const testing::TempFolder folder;
  LoadedScenario s = testing::builtin_scenario();
  std::string bytes(s.plan_bytes.read(0, {}));
  const auto traced_from_file = [&](const std::string& content, std::optional<int64_t> middle) {
    const std::filesystem::path file = folder.path() / "plan.dat";
    std::ofstream(file, std::ios::binary) << content;
    s.plan_bytes = PlanBytes::of_file(file);
    return middle ? trace_plan_in_halves(s, 0, 89000, {}, 1500, *middle) : trace_plan(s, 0, 89000, {}, 1500);
  };
  expect_same_trace(traced_from_file(bytes, 41000), trace_plan(testing::builtin_scenario(), 0, 89000, {}, 1500),
                    "from a file");
  const uint64_t column = bytes.size() / 2;
  for (const int64_t damaged_metre : {int64_t{500}, int64_t{60000}}) {
    for (const uint64_t at : {plan_point_offset(damaged_metre), column + plan_point_offset(damaged_metre)}) {
      std::string damaged = bytes;
      damaged[at] = 9;  // no tag
      std::string one_pass;
      try {
        traced_from_file(damaged, std::nullopt);
      } catch (const DecodeError& e) {
        one_pass = e.what();
      }
      ASSERT_FALSE(one_pass.empty());
      EXPECT_THROW(
          {
            try {
              traced_from_file(damaged, 41000);
            } catch (const DecodeError& e) {
              EXPECT_EQ(std::string(e.what()), one_pass);
              throw;
            }
          },
          DecodeError)
          << "byte " << at;
    }
  }
}

}  // namespace
}  // namespace scenario
