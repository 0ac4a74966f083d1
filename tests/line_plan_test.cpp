// The line plan kept as its runs: how runs are laid down, and that the points made from them
// do not depend on how many are asked for at a time.
#include "model/line_plan.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "model/runtime_failure.hpp"
#include "tests/model_fixture.hpp"

namespace scenario {
namespace {

LinePlan plan_of_runs() {
  LinePlan plan(5000);
  plan.set_starting_points();
  plan.extend_through(999, 0.0);
  plan.extend_through(1300, 0.003);
  plan.extend_through(1300, -0.001);  // ends below the cursor: nothing
  plan.extend_through(2000, -0.0004);
  plan.extend_through(4998, 0.0);
  return plan;
}

TEST(LinePlan, RunsFollowTheCursorAndATurnLikeTheLastLengthensIt) {
  LinePlan plan = plan_of_runs();
  ASSERT_EQ(plan.runs().size(), 4u);
  EXPECT_EQ(plan.runs()[1].last_metre, 1300);
  EXPECT_EQ(plan.computed_end(), 4999);
  plan.extend_through(4999, 0.0);  // straight on after straight: the same run, one metre longer
  EXPECT_EQ(plan.runs().size(), 4u);
  EXPECT_EQ(plan.runs().back().last_metre, 4999);
  // Past the extent, every metre up to it is computed, then the run-time failure.
  EXPECT_THROW(plan.extend_through(6000, 0.001), RuntimeFailure);
  EXPECT_EQ(plan.computed_end(), 5001);
  EXPECT_THROW(LinePlan(10).extend_through(5, 0.0), RuntimeFailure);  // no starting points
}

TEST(LinePlan, PointsDoNotDependOnHowManyAreAskedForAtATime) {
  const LinePlan plan = plan_of_runs();
  const std::vector<PlanPoint> whole = testing::plan_points(plan);
  ASSERT_EQ(whole.size(), 4999u);
  for (const size_t block : {size_t{1}, size_t{7}, size_t{301}, size_t{4096}}) {
    SCOPED_TRACE(block);
    PlanPointGenerator generator(plan);
    std::vector<PlanPoint> made(whole.begin(), whole.begin() + 2);  // the starting points
    std::vector<PlanPoint> buffer(block);
    while (const size_t n = generator.next(buffer)) made.insert(made.end(), buffer.data(), buffer.data() + n);
    ASSERT_EQ(made.size(), whole.size());
    for (size_t m = 0; m < made.size(); ++m) {
      ASSERT_EQ(std::bit_cast<uint64_t>(made[m].x), std::bit_cast<uint64_t>(whole[m].x)) << "metre " << m;
      ASSERT_EQ(std::bit_cast<uint64_t>(made[m].y), std::bit_cast<uint64_t>(whole[m].y)) << "metre " << m;
    }
    EXPECT_THROW(generator.make(1, [](const PlanPoint&) {}), RuntimeFailure);  // none left
  }
}

}  // namespace
}  // namespace scenario
