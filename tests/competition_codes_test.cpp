#include "postpass/competition_codes.hpp"

#include <gtest/gtest.h>

#include "model/fault_table.hpp"

namespace scenario {
namespace {

ScenarioModel named(const std::string& name, const std::string& number) {
  ScenarioModel model;
  model.dimension_cells(140);
  model.record(kScenarioNameSlot).text = name;
  model.record(kScenarioNumberSlot).text = number;
  return model;
}

TEST(CompetitionCodes, DependOnlyOnTheIdentityAndNotOnLetterCase) {
  struct Case {
    const char* name;
    const char* number;
    int16_t og;
    int32_t st;
  };
  const Case cases[] = {
      {"Milano_Tortona", "5", 2660, 35444},
      {"MILANO_TORTONA", "5", 2660, 35444},
      {"milano_tortona", "5", 2660, 35444},
  };
  for (const Case& c : cases) {
    ScenarioModel model = named(c.name, c.number);
    EXPECT_EQ(codice_gara_og(model), c.og) << c.name;
    EXPECT_EQ(codice_gara_st(model), c.st) << c.name;
    EXPECT_EQ(competition_work_string(model), "5milano_tortonamnbvcxzlkjhgfdsapoiuytrewq");
  }
}

TEST(CompetitionCodes, PaddingCountsOnlyForShortIdentities) {
  // 25 characters of identity: the padding no longer reaches the counted characters.
  ScenarioModel a = named("abcdefghijklmnopqrstuvwx", "1");
  ScenarioModel b = named("abcdefghijklmnopqrstuvwxYZ", "1");
  EXPECT_EQ(codice_gara_og(a), codice_gara_og(b));
  EXPECT_EQ(codice_gara_st(a), codice_gara_st(b));
  ScenarioModel shorter = named("abc", "1");
  EXPECT_EQ(competition_work_string(shorter), "1abcmnbvcxzlkjhgfdsapoiuytrewq");
}

TEST(CompetitionCodes, StampingFillsTheHeaderSlots) {
  ScenarioModel model = named("Milano_Tortona", "5");
  ASSERT_EQ(stamp_header(model), 0);
  EXPECT_EQ(model.cell(1).value1, 5121);
  EXPECT_EQ(model.cell(1).value2, 2660);
  EXPECT_EQ(model.record(85).p7, 610);
  EXPECT_EQ(model.record(85).time_s, 35444);
}

TEST(CompetitionCodes, GuardsRefuseAHeaderAlreadyInUse) {
  struct Case {
    const char* what;
    void (*occupy)(ScenarioModel&);
    int shown;
  };
  const Case cases[] = {
      {"cell 1 value1", [](ScenarioModel& m) { m.cell(1).value1 = 600; }, kFaultHeaderConstantsInUse},
      {"record 85 p7", [](ScenarioModel& m) { m.record(85).p7 = 1; }, kFaultHeaderConstantsInUse},
      {"cell 1 value2", [](ScenarioModel& m) { m.cell(1).value2 = 1; }, kFaultHeaderCodesInUse},
      {"record 85 time", [](ScenarioModel& m) { m.record(85).time_s = -1; }, kFaultHeaderCodesInUse},
      {"both", [](ScenarioModel& m) { m.cell(1).value1 = m.cell(1).value2 = 1; }, kFaultHeaderConstantsInUse},
  };
  for (const Case& c : cases) {
    ScenarioModel model = named("Milano_Tortona", "5");
    c.occupy(model);
    EXPECT_EQ(stamp_header(model), c.shown) << c.what;
  }
}

TEST(FaultTable, EveryNumberHasAMeaning) {
  for (int number : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 24, 25, 101, 102, 103,
                     1250, 1251})
    EXPECT_NE(fault_meaning(number), "unknown fault") << number;
  EXPECT_EQ(fault_meaning(14), "unknown fault");
  EXPECT_EQ(fault_meaning(23), "unknown fault");
}

}  // namespace
}  // namespace scenario
