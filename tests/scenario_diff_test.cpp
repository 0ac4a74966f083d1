#include "reading/scenario_diff.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/reading_fixture.hpp"

namespace scenario {
namespace {

using testing::builtin_scenario;
using testing::compiled_scenario_of;
using testing::replaced;

std::string diff_text(const ReadingDocument& d) {
  std::ostringstream out;
  print_document_text(d, out);
  return out.str();
}

TEST(ScenarioDiff, EqualScenariosHaveNoChange) {
  EXPECT_TRUE(diff_scenarios(builtin_scenario(), builtin_scenario()).sections.empty());
}

// Small changes of the built-in sources, each with the lines the comparison must give.
TEST(ScenarioDiff, NamesEachChangeInWordsAndGroupsThem) {
  const struct {
    const char* from;
    const char* to;
    bool service;
    std::vector<std::string> expected;
  } cases[] = {
      {"indicatori_vmax,  77400,  80,  80,  80,  2,  80,  80,  80,  2",
       "indicatori_vmax,  77400,  90,  90,  90,  2,  90,  90,  90,  2", false,
       {"cells\n  cell 1549 (77 400 m): speed-limit board 80/80/80 right 80/80/80 stripes 2/2 → speed-limit board 90/90/90 right "
        "90/90/90 stripes 2/2\n"}},
      {"60,  18,42, 0, PAVIA", "60,  18,44, 0, PAVIA", true,
       {"records\n  station 8 PAVIA: timetable time 18.42 → 18.44\n"}},
      {"curvad6,  1000,  400", "curvad6,  1000,  300", false,
       {"plan\n  plan: metres 1 301–1 400 differ (curvad6 → straight)\n"}},
      {"velocita,   77300,   150", "velocita,   77300,   140", true,
       {"fills\n  line speed: 77 300–79 400 m 150 km/h → 140 km/h\n"}},
      {"segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240", "segnale,    8700,   2, 3, 1,  1, 0,    2,  2,1,1, 240",
       true,
       {"  cell 173 (8 600 m): signal 32/11/11/8 time 240 → nothing\n"
        "  cell 175 (8 700 m): nothing → signal 32/11/11/8 time 240\n",
        "approach codes\n  cell 165 (8 250 m): 84 → 0\n"}},
      {"stazione,   70650, 22,  500,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, PONTECURONE\n", "", true,
       {"  station 14 TORTONA: name \"PONTECURONE\" → \"TORTONA\"\n", "  station 15 TORTONA: removed\n"}},
      {"percentuale massa frenata,    125", "percentuale massa frenata,    130", true,
       {"  scenario: braked mass 125 % → 130 %\n"}},
      {"progressiva chilometrica uno,    9600,    -9550,    0", "progressiva chilometrica uno,    9600,    -9500,    0",
       false,
       {"  kilometre-post changes: from 9 600 m rising, offset -9 550 m; from 40 500 m falling, offset 63 200 m; "
        "from 63 200 m falling, offset 101 300 m → from 9 600 m rising, offset -9 500 m;"}},
  };
  for (const auto& c : cases) {
    const std::string line = c.service ? std::string(kLineSourceText) : replaced(kLineSourceText, c.from, c.to);
    const std::string service = c.service ? replaced(kServiceSourceText, c.from, c.to) : std::string(kServiceSourceText);
    const std::string text = diff_text(diff_scenarios(builtin_scenario(), compiled_scenario_of(line, service)));
    for (const std::string& expected : c.expected) EXPECT_NE(text.find(expected), std::string::npos) << c.from << "\n" << text;
  }
}

TEST(ScenarioDiff, APlanMissingOrShorterIsSaid) {
  const LoadedScenario without_plan =
      compiled_scenario_of(std::string(kLineSourceText), std::string(kServiceSourceText), 0);
  EXPECT_EQ(diff_text(diff_plans(builtin_scenario().plan_bytes, "")), "plan\n  line plan: present → none\n");
  const LoadedScenario longer = compiled_scenario_of(replaced(kLineSourceText, "82000", "82050"),
                                                       std::string(kServiceSourceText));
  EXPECT_NE(diff_text(diff_plans(builtin_scenario().plan_bytes, longer.plan_bytes))
                .find("plan: computed to metre 88 998 → 89 048"),
            std::string::npos);
  EXPECT_FALSE(diff_scenarios(builtin_scenario(), without_plan).sections.empty());
}

}  // namespace
}  // namespace scenario
