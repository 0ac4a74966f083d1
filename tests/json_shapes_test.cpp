#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "reading/scenario_diff.hpp"
#include "reading/scenario_summary.hpp"
#include "tests/reading_fixture.hpp"

namespace scenario {
namespace {

using testing::builtin_scenario;
using testing::compiled_scenario_of;
using testing::replaced;

nlohmann::json parsed(const ReadingDocument& document) {
  std::ostringstream out;
  print_document_json(document, out);
  return nlohmann::json::parse(out.str());
}

bool names_a_unit(const std::string& key) {
  for (const char* unit : {"_m", "_km", "_kmh", "_percent", "_s"})
    if (key.ends_with(unit)) return true;
  return false;
}

// Below `value`, wherever it is: a key that names a unit holds a number, a list of numbers
// or nothing, never a text.
void expect_units_hold_numbers(const nlohmann::json& value, const std::string& path) {
  if (value.is_array()) {
    for (size_t i = 0; i < value.size(); ++i) expect_units_hold_numbers(value[i], path + "[" + std::to_string(i) + "]");
    return;
  }
  if (!value.is_object()) return;
  for (const auto& [key, member] : value.items()) {
    if (names_a_unit(key)) {
      const bool numbers = member.is_number() || member.is_null() ||
                           (member.is_array() && std::all_of(member.begin(), member.end(),
                                                             [](const nlohmann::json& n) { return n.is_number(); }));
      EXPECT_TRUE(numbers) << path << "." << key << ": " << member;
    }
    expect_units_hold_numbers(member, path + "." + key);
  }
}

// Each section an object; its notes texts, its table an array of objects.
void expect_sections(const nlohmann::json& document) {
  ASSERT_TRUE(document.is_object());
  for (const auto& [name, section] : document.items()) {
    ASSERT_TRUE(section.is_object()) << name;
    for (const auto& [key, member] : section.items()) {
      if (key == "notes") {
        ASSERT_TRUE(member.is_array()) << name;
        for (const nlohmann::json& note : member) EXPECT_TRUE(note.is_string()) << name;
      } else if (member.is_array() && !member.empty() && member[0].is_object()) {
        for (const nlohmann::json& row : member) EXPECT_TRUE(row.is_object()) << name << "." << key;
      }
    }
  }
  expect_units_hold_numbers(document, "");
}

TEST(JsonShapes, SummaryHoldsSectionsOfNumbersArraysAndTexts) {
  const nlohmann::json summary = parsed(summarise_scenario(builtin_scenario()));
  expect_sections(summary);
  for (const char* section :
       {"scenario", "kilometre_readings", "stations", "signals", "boards", "slowdowns", "code_reductions",
        "mountain_stretches", "line_speed", "adhesion", "competition_codes", "faults"})
    EXPECT_TRUE(summary.contains(section)) << section;
  EXPECT_TRUE(summary["scenario"]["route_length_m"].is_number_integer());
  EXPECT_TRUE(summary["scenario"]["clock"].is_string());
  EXPECT_TRUE(summary["stations"]["stations"][0]["position_km"].is_number_float());
  for (const nlohmann::json& kind : summary["signals"]["kinds"]) {
    ASSERT_TRUE(kind["values"].is_array());
    EXPECT_EQ(kind["values"].size(), 4u);
    EXPECT_EQ(kind["positions_m"].size(), kind["count"].get<size_t>());
  }
  for (const nlohmann::json& slowdown : summary["slowdowns"]["slowdowns"])
    EXPECT_EQ(slowdown["length_m"], slowdown["end_m"].get<int64_t>() - slowdown["start_m"].get<int64_t>());
}

// Every change an object of the same keys in the same order; what holds a number holds it
// as a number.
TEST(JsonShapes, DiffListsEachChangeAsAnObjectOfItsParts) {
  std::string service(kServiceSourceText);
  for (const auto& [from, to] :
       {std::pair{"60,  18,42, 0, PAVIA", "60,  18,44, 0, PAVIA"}, std::pair{"segnale,    8600,", "segnale,    8700,"},
        std::pair{"segnale,   11350,   2, 4, 0,  0, 0,    0,  0,0,0, 0\n", ""},
        std::pair{"rallentamento,   52600,    80,", "rallentamento,   52600,    60,"},
        std::pair{"velocita,   77300,   150", "velocita,   77300,   140"},
        std::pair{"percentuale massa frenata,    125", "percentuale massa frenata,    130"}})
    service = replaced(service, from, to);
  const nlohmann::json diff =
      parsed(diff_scenarios(builtin_scenario(), compiled_scenario_of(std::string(kLineSourceText), service)));
  expect_sections(diff);
  std::vector<std::string> groups;
  for (const auto& [group, section] : diff.items()) groups.push_back(group);
  EXPECT_EQ(groups, (std::vector<std::string>{"fills", "records", "signals", "slowdowns", "stations"}))
      << "nlohmann orders the keys; nothing else appears";
  for (const auto& [group, section] : diff.items()) {
    ASSERT_EQ(section.size(), 1u) << group;
    for (const nlohmann::json& change : section["changes"]) {
      for (const char* key : {"kind", "change", "what", "field", "text"})
        EXPECT_TRUE(change[key].is_string()) << key << " in " << change;
      ASSERT_TRUE(change.contains("before") && change.contains("after")) << change;
      const std::string field = change["field"];
      if (names_a_unit(field)) {
        EXPECT_TRUE(change["before"].is_number() || change["before"].is_null()) << change;
        EXPECT_TRUE(change["after"].is_number() || change["after"].is_null()) << change;
      }
      const std::string kind = change["change"];
      if (kind == "added") {
        EXPECT_TRUE(change["before"].is_null()) << change;
      } else if (kind == "removed") {
        EXPECT_TRUE(change["after"].is_null()) << change;
      }
    }
  }
  EXPECT_EQ(diff["signals"]["changes"].size(), 2u) << diff["signals"];
  EXPECT_EQ(diff["records"]["changes"][0]["field"], "braked_mass_percent");
  EXPECT_EQ(diff["records"]["changes"][0]["after"], 130);
}

}  // namespace
}  // namespace scenario
