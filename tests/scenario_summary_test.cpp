#include "reading/scenario_summary.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>

#include "reading/kilometre_readings.hpp"
#include "tests/reading_fixture.hpp"

namespace scenario {
namespace {

using testing::builtin_scenario;
using testing::compiled_scenario_of;
using testing::replaced;

std::string summary_text(const LoadedScenario& s) {
  std::ostringstream out;
  print_document_text(summarise_scenario(s), out);
  return out.str();
}

std::string summary_json(const LoadedScenario& s) {
  std::ostringstream out;
  print_document_json(summarise_scenario(s), out);
  return out.str();
}

// The readings as the line source states them: the position itself before the first
// change, position + offset where rising, offset - position where falling.
TEST(KilometreReadings, FollowEveryKindOfChange) {
  const KilometreReadings builtin(builtin_scenario().records);
  const struct {
    int64_t position_m;
    const char* reading;
  } cases[] = {
      {0, "0.000"},      {9550, "9.550"},   {9600, "0.050"},  {9950, "0.400"},   {40450, "30.900"},
      {40500, "22.700"}, {60950, "2.250"},  {63150, "0.050"}, {63200, "38.100"}, {79400, "21.900"},
  };
  for (const auto& c : cases) EXPECT_EQ(kilometre_text(builtin.reading_m(c.position_m)), c.reading) << c.position_m;

  std::array<SimRecord, kRecordCount> records{};
  EXPECT_EQ(KilometreReadings(records).reading_m(12345), 12345) << "no change: the metres themselves";
  records[81] = SimRecord{};
  records[81].end_m = 5000;  // from 0, rising with an offset, as the compiler orders a lone "uno" at 0
  EXPECT_EQ(KilometreReadings(records).reading_m(100), 5100);
  records[81].end_m = 1100;  // falling from 0: the stored offset holds the compiler's 100 m more
  records[81].position_m = 1;
  EXPECT_EQ(kilometre_text(KilometreReadings(records).reading_m(1500)), "-0.500");
}

TEST(ScenarioSummary, TellsTheBuiltInScenarioInItsAuthorsTerms) {
  const std::string text = summary_text(builtin_scenario());
  for (const char* expected : {
           "  route length: 82 000 m\n",
           "  line plan: computed for metres 0 to 88 998\n",
           "  braked mass percent: 125 %\n",
           // the kilometre readings, stretch by stretch
           "     40 500 m   22.700  63 150 m   0.050  fall\n",
           // a stop, a station passed, the arrival; the stored numbers under their places
           "8    38 150 m       28.600  PAVIA                  4  stop                  18.42      37 800 m    38 500 m"
           "        0        1        0        1        1        0         4         1         1        60\n",
           "5    17 750 m        8.200  LOCATE TRIULZI        22  pass",
           "15    79 400 m       21.900  TORTONA                4  arrival               19.09",
           "field 4  field 5  field 6",
           "  count: 41\n",
           "     32/11/11/8 time 240      1  8 600 m\n",
           "       77 400 m       23.900  speed limit  80/80/80 right 80/80/80 stripes 2/2\n",
           "       60 950 m        2.250  indicator    (Km. 2.256)\n",
           "            80  52 600 m    10.600  52 850 m  10.350     250 m         51 400 m\n",
           "  from sources: 7\n  added: 3\n",
           "     59 500 m  59 650 m     2\n",
           "     79 400 m  82 000 m         80\n",
           "  sum code: 2660\n",
           "  nothing in the files shows a recorded fault\n",
       })
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  EXPECT_EQ(text.find("p4"), std::string::npos);

  // A station's members in the order of its table's columns.
  const auto stations = nlohmann::ordered_json::parse(summary_json(builtin_scenario()))["stations"]["stations"];
  const auto pavia = std::find_if(stations.begin(), stations.end(), [](const auto& s) { return s["name"] == "PAVIA"; });
  ASSERT_NE(pavia, stations.end());
  const nlohmann::ordered_json expected = {{"slot", 8},           {"position_m", 38150},        {"position_km", 28.6},
                                           {"name", "PAVIA"},     {"type", 4},                  {"call", "stop"},
                                           {"timetable_time_s", 67320}, {"area_start_m", 37800}, {"area_end_m", 38500},
                                           {"field_4", 0},        {"field_5", 1}};
  auto member = pavia->items().begin();
  for (const auto& [key, value] : expected.items()) {
    ASSERT_NE(member, pavia->items().end());
    EXPECT_EQ(member.key(), key);
    EXPECT_EQ(member.value(), value) << key;
    ++member;
  }
}

// Scripts read numbers as numbers and lists as arrays, with the unit in the key.
TEST(ScenarioSummary, JsonHoldsNumbersAndListsForScripts) {
  const nlohmann::json summary = nlohmann::json::parse(summary_json(builtin_scenario()));
  const nlohmann::json& signal = summary["signals"]["kinds"][3];
  EXPECT_EQ(signal["values"], (nlohmann::json{32, 11, 11, 8}));
  EXPECT_EQ(signal["time"], 240);
  EXPECT_EQ(signal["positions_m"], (nlohmann::json{8600}));
  EXPECT_EQ(summary["signals"]["kinds"][4]["positions_m"].size(), 21u);
  const nlohmann::json& board = summary["boards"]["boards"][0];
  EXPECT_EQ(board["position_m"], 800);
  EXPECT_DOUBLE_EQ(board["position_km"].get<double>(), 0.8);
  EXPECT_EQ(board["speeds_kmh"], (nlohmann::json{30, 30, 30}));
  EXPECT_EQ(summary["slowdowns"]["slowdowns"][0]["length_m"], 250);
}

// Changed copies of the built-in sources, each with what the summary must then say.
TEST(ScenarioSummary, FollowsChangedSources) {
  const struct {
    const char* what;
    const char* from;
    const char* to;
    bool service;
    const char* expected;
  } cases[] = {
      {"a zero-length slowdown", "52600,    80,  250", "52600,    80,  0", true,
       "            80  52 600 m    10.600  52 600 m  10.600       0 m         51 400 m\n"},
      {"a slowdown close to the start has no warning board", "rallentamento,   52600,    80,  250, 0,  1,  80",
       "rallentamento,   1000,    60,  100, 0,  1,  0", true, "1 100 m   1.100     100 m  none\n"},
      {"a second mountain stretch", "montagna,   59500,  59650,  2", "montagna,   59500,  59650,  2\nmontagna,   70000,  71000,  1",
       false, "     70 000 m  71 000 m     1\n"},
      {"a service source cut short", "segnale,   78150,   2, 3, 1,  1, 0,    2,  2,1,1, 0", "segnale,   78150", true,
       "no line speed from"},
  };
  for (const auto& c : cases) {
    const std::string line = c.service ? std::string(kLineSourceText) : replaced(kLineSourceText, c.from, c.to);
    const std::string service = c.service ? replaced(kServiceSourceText, c.from, c.to) : std::string(kServiceSourceText);
    const std::string text = summary_text(compiled_scenario_of(line, service));
    EXPECT_NE(text.find(c.expected), std::string::npos) << c.what << "\n" << text;
  }
}

}  // namespace
}  // namespace scenario
