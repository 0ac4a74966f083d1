#include "reading/scenario_diff.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "format/compiled_files.hpp"
#include "format/file_io.hpp"
#include "format/line_plan_points.hpp"
#include "reading/track_reading.hpp"

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

// Two plan files compared, each checked and counted first as the loader does.
ReadingDocument diff_plan_files(const PlanBytes& a, const PlanBytes& b) {
  return diff_plans(a, computed_plan_points(a), b, computed_plan_points(b));
}

TEST(ScenarioDiff, EqualScenariosHaveNoChange) {
  EXPECT_TRUE(diff_scenarios(builtin_scenario(), builtin_scenario()).sections.empty());
}

// A one-row edit of the built-in service source and what the comparison must print.
struct SourceEdit {
  const char* from;
  const char* to;
  bool service;
  std::string expected;  // the whole output, or a part of it when `whole` is false
  bool whole = true;
};

std::string diff_after(const SourceEdit& edit) {
  const std::string line = edit.service ? std::string(kLineSourceText) : replaced(kLineSourceText, edit.from, edit.to);
  const std::string service =
      edit.service ? replaced(kServiceSourceText, edit.from, edit.to) : std::string(kServiceSourceText);
  return diff_text(diff_scenarios(builtin_scenario(), compiled_scenario_of(line, service)));
}

// Stations, signals and slowdowns are compared as features: each edit gives its feature's
// line and nothing else, no cell, approach code or record byte that the feature explains.
TEST(ScenarioDiff, TellsFeaturesAsFeaturesAndNothingTheyExplain) {
  const SourceEdit edits[] = {
      {"rallentamento,   52600,    80,", "rallentamento,   52600,    40,", true,
       "slowdowns\n  slowdown at 52 600 m: 80 → 40 km/h\n"},
      {"52600,    80,  250,", "52600,    80,  400,", true, "slowdowns\n  slowdown at 52 600 m: length 250 → 400 m\n"},
      {"rallentamento,   52600,", "rallentamento,   52700,", true,
       "slowdowns\n  slowdown at 52 600 m: moved to 52 700 m (80 km/h, length 250 m, approach boards 4, field 4 0, "
       "field 6 80)\n"},
      {"rallentamento,   52600,    80,  250, 0,  1,  80\n", "", true,
       "slowdowns\n  slowdown at 52 600 m: removed (80 km/h, length 250 m, warning board 51 400 m, approach boards 4, "
       "field 4 0, field 6 80)\n"},
      {"60,  18,42, 0, PAVIA", "60,  18,44, 0, PAVIA", true, "stations\n  station 'PAVIA': time 18.42 → 18.44\n"},
      {"segnale,    8600,", "segnale,    8700,", true,
       "signals\n  signal at 8 600 m: moved to 8 700 m (32/11/11/8 time 240)\n"},
      {"segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240\n", "", true,
       "signals\n  signal at 8 600 m: removed (32/11/11/8 time 240)\n"},
      {"segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240", "segnale,    8600,   2, 3, 1,  1, 0,    2,  1,1,1, 240",
       true, "signals\n  signal at 8 600 m: values 32/11/11/8 → 31/11/11/8\n"},
      {"stazione,   70650, 22,  500,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, PONTECURONE\n", "", true,
       "stations\n  station 'PONTECURONE': removed (at 70 650 m, type 22, time none)\n"},
      {"18,42, 0, PAVIA\n",
       "18,42, 0, PAVIA\nstazione,   39300, 25,  100,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BIVIO NUOVO\n",
       true, "stations\n  station 'BIVIO NUOVO': added (at 39 300 m, type 25, time none)\n"},
      {"0, 0, 0, PONTECURONE", "0, 0, 0, PONTE CURONE", true,
       "stations\n  station 'PONTE CURONE': name 'PONTECURONE' → 'PONTE CURONE'\n"},
  };
  for (const SourceEdit& edit : edits) EXPECT_EQ(diff_after(edit), edit.expected) << edit.from;
}

// What is no station, signal or slowdown is told by its group: a board's cell, the
// scenario's facts, the kilometre posts, a fill, the plan.
TEST(ScenarioDiff, NamesOtherChangesInWordsAndGroupsThem) {
  const SourceEdit edits[] = {
      {"indicatori_vmax,  77400,  80,  80,  80,  2,  80,  80,  80,  2",
       "indicatori_vmax,  77400,  90,  90,  90,  2,  90,  90,  90,  2", false,
       "cells\n  cell 1549 (77 400 m): speed-limit board 80/80/80 right 80/80/80 stripes 2/2 → speed-limit board "
       "90/90/90 right 90/90/90 stripes 2/2\n"},
      {"curvad6,  1000,  400", "curvad6,  1000,  300", false,
       "plan\n  plan: metres 1 301–1 400 differ (curvad6 → straight)\n"},
      {"velocita,   77300,   150", "velocita,   77300,   140", true,
       "fills\n  line speed: 77 300–79 400 m 150 → 140 km/h\n"},
      {"percentuale massa frenata,    125", "percentuale massa frenata,    130", true,
       "records\n  scenario: braked mass 125 → 130 %\n"},
      {"orologio,    18              14            15", "orologio, 7, 45, 0", true,
       "records\n  scenario: clock 18:14:15 → 7:45:00\n"},
      {"progressiva chilometrica uno,    9600,    -9550,    0", "progressiva chilometrica uno,    9600,    -9500,    0",
       false,
       "  kilometre-post changes: from 9 600 m rising, offset -9 550 m; from 40 500 m falling, offset 63 200 m; "
       "from 63 200 m falling, offset 101 300 m → from 9 600 m rising, offset -9 500 m;",
       false},
  };
  for (const SourceEdit& edit : edits) {
    const std::string text = diff_after(edit);
    if (edit.whole)
      EXPECT_EQ(text, edit.expected) << edit.from;
    else
      EXPECT_NE(text.find(edit.expected), std::string::npos) << edit.from << "\n" << text;
  }
}

TEST(ScenarioDiff, APlanMissingOrShorterIsSaid) {
  const LoadedScenario without_plan =
      compiled_scenario_of(std::string(kLineSourceText), std::string(kServiceSourceText), 0);
  EXPECT_EQ(diff_text(diff_plan_files(builtin_scenario().plan_bytes, "")), "plan\n  line plan: present → none\n");
  const LoadedScenario longer = compiled_scenario_of(replaced(kLineSourceText, "82000", "82050"),
                                                       std::string(kServiceSourceText));
  EXPECT_NE(diff_text(diff_plan_files(builtin_scenario().plan_bytes, longer.plan_bytes))
                .find("plan: computed to metre 88 998 → 89 048"),
            std::string::npos);
  EXPECT_FALSE(diff_scenarios(builtin_scenario(), without_plan).sections.empty());
}

// The comparison of two plans metre by metre, every point of both decoded: what diff told
// before it compared the bytes first.
std::string plans_compared_metre_by_metre(const PlanBytes& a, const PlanBytes& b) {
  std::ostringstream out;
  if (a.empty() != b.empty()) return "presence";
  LinePlanPoints pa(a), pb(b);
  PlanPoint ha[3], hb[3];
  int64_t metre = 0, run_start = -1;
  std::string run_from, run_to;
  auto close_run = [&](int64_t end) {
    if (run_start >= 0) out << "metres " << run_start << "-" << end << ": " << run_from << " / " << run_to << "\n";
    run_start = -1;
  };
  for (bool more_a = true, more_b = true;; ++metre) {
    PlanPoint p;
    more_a = more_a && pa.next(p);
    if (more_a) ha[0] = ha[1], ha[1] = ha[2], ha[2] = p;
    more_b = more_b && pb.next(p);
    if (more_b) hb[0] = hb[1], hb[1] = hb[2], hb[2] = p;
    if (!more_a || !more_b) break;
    if (metre < 2) continue;
    const double ka = plan_turning(ha[0], ha[1], ha[2]), kb = plan_turning(hb[0], hb[1], hb[2]);
    const bool differs = std::abs(ka - kb) > 1e-9;
    const std::string ta = turning_text(ka), tb = turning_text(kb);
    if (run_start >= 0 && (!differs || ta != run_from || tb != run_to)) close_run(metre - 1);
    if (differs && run_start < 0) run_start = metre, run_from = ta, run_to = tb;
  }
  close_run(metre - 1);
  return out.str();
}

// The same runs read from diff's document.
std::string turning_runs_told(const ReadingDocument& d) {
  std::ostringstream json;
  print_document_json(d, json);
  std::ostringstream out;
  const nlohmann::json document = nlohmann::json::parse(json.str());
  if (!document.contains("plan")) return "";
  for (const nlohmann::json& change : document["plan"]["changes"]) {
    if (change["change"] == "added" || change["change"] == "removed") return "presence";
    if (change["field"] == "turning")
      out << "metres " << change["from_metre"] << "-" << change["to_metre"] << ": " << change["before"].get<std::string>()
          << " / " << change["after"].get<std::string>() << "\n";
  }
  return out.str();
}

// Diff compares the plans' bytes first and decodes only the blocks that differ: it tells the
// very runs that comparing every metre tells, wherever the changes fall (on a block's
// bounds, in the two metres after one, at the start and at the end).
TEST(ScenarioDiff, PlansComparedByTheirBytesFirstTellWhatEveryMetreTells) {
  const auto plan_of = [](const std::vector<std::pair<int32_t, double>>& runs, int32_t extent = 30000) {
    LinePlan plan(extent);
    plan.set_starting_points();
    for (const auto& [last, curvature] : runs) plan.extend_through(last, curvature);
    std::string bytes;
    encode_line_plan(plan, bytes);
    return bytes;
  };
  const std::vector<std::pair<int32_t, double>> base = {{4094, 0}, {6000, 0.001}, {12000, 0}, {12600, -0.002}, {29990, 0}};
  const std::string original = plan_of(base);
  // A point's x in bytes: after the two starting points (4 bytes each), 10 bytes a double,
  // its value after a 2-byte tag.
  const auto flipped = [&](int64_t metre, bool y, int bit) {
    std::string bytes = original;
    const size_t at = (y ? bytes.size() / 2 : 0) + 8 + static_cast<size_t>(metre - 2) * 10 + 2 + static_cast<size_t>(bit / 8);
    bytes[at] = static_cast<char>(bytes[at] ^ (1 << (bit % 8)));
    return bytes;
  };
  const std::vector<std::pair<std::string, std::string>> others = {
      {"the same", original},
      {"a curve sharper", plan_of({{4094, 0}, {6000, 0.002}, {12000, 0}, {12600, -0.002}, {29990, 0}})},
      {"a curve a metre later", plan_of({{4095, 0}, {6000, 0.001}, {12000, 0}, {12600, -0.002}, {29990, 0}})},
      {"two curves changed", plan_of({{4094, 0}, {6000, 0.003}, {12000, 0}, {12600, 0.002}, {29990, 0}})},
      {"computed less far", plan_of({{4094, 0}, {6000, 0.001}, {12000, 0}, {12600, -0.002}, {20000, 0}})},
      {"a longer extent", plan_of(base, 30500)},
      {"no points", plan_of({}, 30000)},
      {"no plan", ""},
      {"metre 2 bent", flipped(2, false, 62)},
      {"the last block's first metre bent", flipped(4096, true, 60)},
      {"the metre before a block bent", flipped(4095, false, 61)},
      {"the last metre bent", flipped(29990, true, 61)},
      {"a bit too small to turn", flipped(20000, false, 0)},
  };
  for (const auto& [what, other] : others) {
    SCOPED_TRACE(what);
    for (const auto& [a, b] : {std::pair{PlanBytes(original), PlanBytes(other)}, std::pair{PlanBytes(other), PlanBytes(original)}})
      EXPECT_EQ(turning_runs_told(diff_plan_files(a, b)), plans_compared_metre_by_metre(a, b));
  }
  EXPECT_TRUE(diff_plan_files(original, original).sections.empty());
  const std::string tiny_change = flipped(20000, false, 0);
  EXPECT_NE(diff_text(diff_plan_files(original, tiny_change)).find("the files differ from byte 199 990 on"),
            std::string::npos);
}

// For scripts each change is an object of its parts: numbers as numbers, lists as arrays,
// nothing as null, the unit in the key's name.
TEST(ScenarioDiff, JsonListsEachChangeAsAnObject) {
  const struct {
    SourceEdit edit;
    const char* group;
    nlohmann::json expected;
  } cases[] = {
      {{"60,  18,42, 0, PAVIA", "60,  18,44, 0, PAVIA", true, ""},
       "stations",
       {{"kind", "station"}, {"change", "changed"}, {"what", "station 'PAVIA'"}, {"slot", 8}, {"position_m", 38150},
        {"field", "timetable_time_s"}, {"before", 67320}, {"after", 67440},
        {"text", "station 'PAVIA': time 18.42 → 18.44"}}},
      {{"rallentamento,   52600,    80,", "rallentamento,   52600,    40,", true, ""},
       "slowdowns",
       {{"kind", "slowdown"}, {"change", "changed"}, {"what", "slowdown at 52 600 m"}, {"start_m", 52600},
        {"field", "speed_kmh"}, {"before", 80}, {"after", 40}, {"text", "slowdown at 52 600 m: 80 → 40 km/h"}}},
      {{"2,  2,1,1, 240", "2,  1,1,1, 240", true, ""},
       "signals",
       {{"kind", "signal"}, {"change", "changed"}, {"what", "signal at 8 600 m"}, {"position_m", 8600},
        {"field", "values"}, {"before", {32, 11, 11, 8}}, {"after", {31, 11, 11, 8}},
        {"text", "signal at 8 600 m: values 32/11/11/8 → 31/11/11/8"}}},
      {{"segnale,    8600,   2, 3, 1,  1, 0,    2,  2,1,1, 240\n", "", true, ""},
       "signals",
       {{"kind", "signal"}, {"change", "removed"}, {"what", "signal at 8 600 m"}, {"position_m", 8600},
        {"field", "values"}, {"before", {32, 11, 11, 8}}, {"after", nullptr},
        {"text", "signal at 8 600 m: removed (32/11/11/8 time 240)"}}},
      {{"velocita,   77300,   150", "velocita,   77300,   140", true, ""},
       "fills",
       {{"kind", "fill"}, {"change", "changed"}, {"what", "line speed"}, {"from_m", 77300}, {"to_m", 79400},
        {"field", "speed_kmh"}, {"before", 150}, {"after", 140},
        {"text", "line speed: 77 300–79 400 m 150 → 140 km/h"}}},
  };
  for (const auto& c : cases) {
    const SourceEdit& edit = c.edit;
    const LoadedScenario changed = compiled_scenario_of(std::string(kLineSourceText),
                                                        replaced(kServiceSourceText, edit.from, edit.to));
    std::ostringstream out;
    print_document_json(diff_scenarios(builtin_scenario(), changed), out);
    const nlohmann::json document = nlohmann::json::parse(out.str());
    ASSERT_EQ(document.size(), 1u) << out.str();
    ASSERT_EQ(document[c.group]["changes"].size(), 1u) << out.str();
    EXPECT_EQ(document[c.group]["changes"][0], c.expected) << out.str();
  }
}

// The example of the JSON page is what the program prints for the edits it names.
TEST(ScenarioDiff, TheJsonPagesExampleIsWhatDiffPrints) {
  std::string service(kServiceSourceText);
  for (const auto& [from, to] : {std::pair{"60,  18,42, 0, PAVIA", "60,  18,44, 0, PAVIA"},
                                 std::pair{"segnale,    8600,", "segnale,    8700,"},
                                 std::pair{"rallentamento,   52600,    80,", "rallentamento,   52600,    60,"},
                                 std::pair{"velocita,   77300,   150", "velocita,   77300,   140"}})
    service = replaced(service, from, to);
  std::ostringstream out;
  print_document_json(diff_scenarios(builtin_scenario(), compiled_scenario_of(std::string(kLineSourceText), service)),
                      out);
  const std::string page = read_file(std::filesystem::path(SCENARIO_ROOT) / "docs" / "json-output.md");
  const size_t section = page.find("## `diff --json`");
  ASSERT_NE(section, std::string::npos);
  const size_t start = page.find("```json\n", section) + 8, end = page.find("```", start);
  EXPECT_EQ(page.substr(start, end - start), out.str());
}

// The built-in scenario's compiled files as bytes.
struct BuiltinBytes {
  std::string records, cells, plan;
};

const BuiltinBytes& builtin_bytes() {
  static const BuiltinBytes bytes = [] {
    ScenarioModel model;
    model.scenario_name = "Milano_Tortona";
    model.scenario_number = "5";
    SourceFile line = SourceFile::in_memory("Milano_Tortona_linea.txt", std::string(kLineSourceText));
    SourceFile service = SourceFile::in_memory("Milano_Tortona_5-.txt", std::string(kServiceSourceText));
    compile_scenario(model, 1, line, service);
    BuiltinBytes b;
    encode_records(model, b.records);
    encode_track_cells(model, b.cells);
    encode_line_plan(model.line_plan, b.plan);
    return b;
  }();
  return bytes;
}

// Every bit of every byte of the records, one at a time: each change that still decodes is
// named, never "equal". A field no fact names is told by its record and bytes.
TEST(ScenarioDiff, NoChangedBitOfTheRecordsPassesForEqual) {
  const std::string& original = builtin_bytes().records;
  const auto records = decode_records(original);
  LoadedScenario without_plan = builtin_scenario();
  without_plan.has_plan = false;
  int decoded = 0;
  for (size_t byte = 0; byte < original.size(); ++byte)
    for (int bit = 0; bit < 8; ++bit) {
      std::string changed = original;
      changed[byte] = static_cast<char>(changed[byte] ^ (1 << bit));
      std::array<SimRecord, kRecordCount> flipped;
      try {
        flipped = decode_records(changed);
      } catch (const std::exception&) {
        continue;  // a text's byte count that runs past the file: inspect and diff refuse it
      }
      ++decoded;
      ASSERT_FALSE(diff_records(records, flipped).sections.empty()) << "byte " << byte << " bit " << bit;
      // Read with the cells, a station's changes explain its record: still never "equal".
      if (bit == 0) {
        LoadedScenario scenario = without_plan;
        scenario.records = flipped;
        ASSERT_FALSE(diff_scenarios(without_plan, scenario).sections.empty()) << "byte " << byte;
      }
    }
  EXPECT_GT(decoded, 0);
  EXPECT_EQ(diff_text(diff_records(records, [&] {
              auto r = records;
              r[0].p8 = 7;
              return r;
            }())),
            "records\n  record 0 (bytes 18–19): p8 0 → 7\n");
}

TEST(ScenarioDiff, NoChangedBitOfACellOrThePlanPassesForEqual) {
  const std::string& cells = builtin_bytes().cells;
  const auto original = decode_track_cells(cells);
  for (const size_t cell : {size_t{0}, size_t{173}, original.size() - 1})
    for (size_t byte = 0; byte < kTrackCellBytes; ++byte) {
      std::string changed = cells;
      const size_t at = cell * kTrackCellBytes + byte;
      changed[at] = static_cast<char>(changed[at] ^ 1);
      EXPECT_FALSE(diff_cells(original, decode_track_cells(changed)).sections.empty()) << "cell " << cell << " byte " << byte;
    }
  // The lowest bit of a coordinate turns the track by far less than any curve; a tag's bit
  // makes a plan that does not decode.
  int decoded = 0;
  for (size_t byte = 5000; byte < 5010; ++byte) {
    std::string plan = builtin_bytes().plan;
    plan[byte] = static_cast<char>(plan[byte] ^ 1);
    try {
      EXPECT_FALSE(diff_plan_files(builtin_bytes().plan, plan).sections.empty()) << "byte " << byte;
      ++decoded;
    } catch (const std::exception&) {
    }
  }
  EXPECT_GT(decoded, 0);
}

// One bit changed in each field of a record and of a cell, walked from the layouts: the
// change is found and named by its field, whatever the field.
template <bool kNamesTheField, typename Element, typename Layout, typename Diff>
void expect_each_field_named(const std::vector<Element>& originals, size_t at, const Layout& layout, Diff diff) {
  for_each_field(layout, [&](const auto& f) {
    std::vector<Element> changed = originals;
    auto& value = changed[at].*f.member;
    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>)
      value = value.empty() ? std::string("A") : std::string(1, static_cast<char>(value[0] ^ 1)) + value.substr(1);
    else
      value = static_cast<std::decay_t<decltype(value)>>(value ^ 1);
    const ReadingDocument d = diff(originals, changed);
    const std::string text = diff_text(d);
    std::ostringstream json;
    print_document_json(d, json);
    const nlohmann::json document = nlohmann::json::parse(json.str());
    bool field_named = false;
    for (const auto& [group, section] : document.items())
      for (const nlohmann::json& change : section["changes"]) {
        EXPECT_NE(change["before"], change["after"]) << f.name << ":\n" << text;
        field_named = field_named || change["field"] == f.name || change["field"] == f.listed_name();
      }
    // A feature's or a fill's words may tell the change instead of the field's name.
    EXPECT_TRUE(field_named || !kNamesTheField) << f.name << ":\n" << text;
    EXPECT_FALSE(text.empty()) << f.name;
  });
}

TEST(ScenarioDiff, AOneBitChangeInAnyFieldIsNamedByItsField) {
  const auto records = decode_records(builtin_bytes().records);
  expect_each_field_named<true>(std::vector<SimRecord>(records.begin(), records.end()), 0, kSimRecordLayout,
                          [](const std::vector<SimRecord>& a, const std::vector<SimRecord>& b) {
                            std::array<SimRecord, kRecordCount> ra, rb;
                            std::copy(a.begin(), a.end(), ra.begin());
                            std::copy(b.begin(), b.end(), rb.begin());
                            return diff_records(ra, rb);
                          });
  const auto cells = decode_track_cells(builtin_bytes().cells);
  expect_each_field_named<false>(cells, 0, kTrackCellLayout, [](const auto& a, const auto& b) { return diff_cells(a, b); });
}

}  // namespace
}  // namespace scenario
