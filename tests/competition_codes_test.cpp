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
  ASSERT_EQ(stamp_header(model), std::nullopt);
  EXPECT_EQ(model.cell(1).value1, 5121);
  EXPECT_EQ(model.cell(1).value2, 2660);
  EXPECT_EQ(model.record(85).p7, 610);
  EXPECT_EQ(model.record(85).time_s, 35444);
}

TEST(CompetitionCodes, GuardsRefuseAHeaderAlreadyInUse) {
  struct Case {
    const char* what;
    void (*occupy)(ScenarioModel&);
    Fault shown;
  };
  const Case cases[] = {
      {"cell 1 value1", [](ScenarioModel& m) { m.cell(1).value1 = 600; }, Fault::kHeaderConstantsInUse},
      {"record 85 p7", [](ScenarioModel& m) { m.record(85).p7 = 1; }, Fault::kHeaderConstantsInUse},
      {"cell 1 value2", [](ScenarioModel& m) { m.cell(1).value2 = 1; }, Fault::kHeaderCodesInUse},
      {"record 85 time", [](ScenarioModel& m) { m.record(85).time_s = -1; }, Fault::kHeaderCodesInUse},
      {"both", [](ScenarioModel& m) { m.cell(1).value1 = m.cell(1).value2 = 1; }, Fault::kHeaderConstantsInUse},
  };
  for (const Case& c : cases) {
    ScenarioModel model = named("Milano_Tortona", "5");
    c.occupy(model);
    EXPECT_EQ(stamp_header(model), c.shown) << c.what;
  }
}

}  // namespace
}  // namespace scenario
