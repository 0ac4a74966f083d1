// The running-time check: the fastest run on cases whose answer is known in closed form, and
// the warning at the row of a timetable time the train cannot keep.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "lsp/pair_compile.hpp"
#include "model/format_rules.hpp"
#include "model/warning_table.hpp"
#include "sources/scenario_texts.hpp"
#include "tests/lsp_session.hpp"
#include "tests/program_runner.hpp"
#include "tests/temp_folder.hpp"
#include "timing/compile_timing_check.hpp"
#include "timing/fastest_run.hpp"
#include "timing/running_times.hpp"
#include "timing/track_profile.hpp"

namespace scenario {
namespace {

constexpr double kG = 9.81;

// A train of constant acceleration `a` and braking `b`, without resistance.
TrainPerformance plain_train(double a, double b) {
  TrainPerformance train;
  train.starting_acceleration_mps2 = a;
  train.braking_mps2 = b;
  train.constant_power_from_mps = 1e9;
  train.resistance_mps2 = 0;
  train.resistance_quadratic_per_mps2 = 0;
  return train;
}

TrackProfile level_profile(double length_m, double permitted_mps, double gradient = 0) {
  TrackProfile profile;
  profile.stretches.push_back({0, length_m, permitted_mps, gradient});
  return profile;
}

double top_speed(const FastestRun& run) {
  double top = 0;
  for (const CurvePoint& point : run.curve) top = std::max(top, point.speed_mps);
  return top;
}

double speed_at(const FastestRun& run, double position_m) {
  for (size_t i = 1; i < run.curve.size(); ++i)
    if (run.curve[i].position_m >= position_m) return run.curve[i].speed_mps;
  return run.curve.back().speed_mps;
}

TEST(FastestRun, LevelTrackAcceleratesRunsAndBrakesAsTheClosedFormsSay) {
  // v = 20 m/s, a = 0.5, b = 0.4 over 3 000 m: 40 s and 400 m to reach v, 50 s and 500 m
  // to stop from it, and 2 100 m at v between.
  const double v = 20, a = 0.5, b = 0.4, length = 3000;
  const FastestRun run =
      fastest_run(level_profile(length, v), plain_train(a, b), {{0, 0, 0}, {length, 0, 0}}, {0, length}, true);
  ASSERT_EQ(run.passings.size(), 2U);
  EXPECT_NEAR(run.passings[1].time_s, v / a + v / b + (length - v * v / (2 * a) - v * v / (2 * b)) / v, 1e-6);
  EXPECT_NEAR(speed_at(run, v * v / (2 * a)), v, 1e-6);
  EXPECT_NEAR(speed_at(run, length - v * v / (2 * b)), v, 1e-6);
  EXPECT_LT(speed_at(run, v * v / (4 * a)), v);
  EXPECT_FALSE(run.stall_m);

  // Too short to reach v: the two curves meet where a x = b (L - x).
  const double short_length = 500, x = b * short_length / (a + b);
  const FastestRun peak = fastest_run(level_profile(short_length, v), plain_train(a, b),
                                      {{0, 0, 0}, {short_length, 0, 0}}, {0, short_length}, true);
  EXPECT_NEAR(top_speed(peak), std::sqrt(2 * a * x), 1e-6);
  EXPECT_NEAR(peak.passings[1].time_s, std::sqrt(2 * x / a) + std::sqrt(2 * (short_length - x) / b), 1e-6);
}

TEST(FastestRun, AClimbHoldsTheSpeedWherePowerMeetsTheGradient) {
  // Constant power from 10 m/s: on 10 per mille the train balances at a0 vp / (g i), which it
  // nears and never passes.
  TrainPerformance train = plain_train(0.5, 0.5);
  train.constant_power_from_mps = 10;
  const double balance = 0.5 * 10 / (kG * 10 / 1000);
  const FastestRun run =
      fastest_run(level_profile(60000, 80, 10), train, {{0, 0, 0}, {60000, 0, 0}}, {0, 60000}, true);
  EXPECT_LT(top_speed(run), balance);
  EXPECT_GT(top_speed(run), balance * 0.97);
}

TEST(FastestRun, ATrainThatCannotClimbStallsWhereItsSpeedRunsOut) {
  // 20 m/s into 40 per mille: it loses g i - a0 and stops v² / 2 (g i - a0) into the climb.
  TrackProfile profile;
  profile.stretches.push_back({0, 1000, 20, 0});
  profile.stretches.push_back({1000, 20000, 20, 40});
  const TrainPerformance train = plain_train(0.35, 0.5);
  const FastestRun run = fastest_run(profile, train, {{0, 0, 0}, {20000, 0, 0}}, {0, 20000}, false);
  ASSERT_TRUE(run.stall_m);
  EXPECT_NEAR(*run.stall_m, 1000 + 400 / (2 * (kG * 0.04 - 0.35)), 1.0);
  EXPECT_EQ(run.passings.size(), 1U);

  // Standing on the climb, it cannot start at all.
  const FastestRun standing = fastest_run(level_profile(5000, 20, 40), train, {{0, 0, 0}, {5000, 0, 0}}, {0}, false);
  ASSERT_TRUE(standing.stall_m);
  EXPECT_EQ(*standing.stall_m, 0);
}

// Cells of a level route at one line speed, with one slowdown as the compiler places it
// (start in the cell after its position, end in the cell after its end).
std::vector<TrackCell> route_cells(int64_t length_m, int line_kmh, int64_t slowdown_m, int64_t slowdown_length_m,
                                   int slowdown_kmh) {
  std::vector<TrackCell> cells(static_cast<size_t>(length_m / kCellLength_m + 1));
  for (TrackCell& cell : cells) {
    cell.speed_limit = static_cast<uint8_t>(line_kmh / kSpeedUnit_kmh);
    cell.gradient = kGradientBias;
  }
  TrackCell& start = cells[static_cast<size_t>(slowdown_m / kCellLength_m + 1)];
  start.kind = kSlowdownStart;
  start.value1 = static_cast<int16_t>(slowdown_kmh);
  TrackCell& end = cells[static_cast<size_t>((slowdown_m + slowdown_length_m) / kCellLength_m + 1)];
  end.kind = kSlowdownEnd;
  end.value1 = static_cast<int16_t>(slowdown_kmh);
  return cells;
}

std::array<SimRecord, kRecordCount> route_records(int coaches) {
  std::array<SimRecord, kRecordCount> records{};
  kCoaches.in(records) = coaches;
  kBrakedMassPercent.in(records) = 100;
  return records;
}

TEST(TrackProfile, ASlowdownShorterThanTheTrainHoldsUntilTheTailHasPassedIt) {
  // 100 m at 60 km/h; 10 coaches of 26.4 m and a locomotive of 19.5 m make 283.5 m.
  TimingSettings settings;
  const auto cells = route_cells(10000, 150, 5000, 100, 60);
  const TrackProfile profile = track_profile(cells, route_records(10), settings, 10000, {});
  ASSERT_DOUBLE_EQ(profile.train_length_m, 283.5);
  const auto slow = std::find_if(profile.stretches.begin(), profile.stretches.end(),
                                 [](const ProfileStretch& s) { return s.permitted_mps < 150 / 3.6; });
  ASSERT_NE(slow, profile.stretches.end());
  EXPECT_DOUBLE_EQ(slow->from_m, 5000);
  EXPECT_DOUBLE_EQ(slow->to_m, 5100 + 283.5);
  EXPECT_DOUBLE_EQ(slow->permitted_mps, 60 / 3.6);
  // The line speed's own rise waits for the tail the same way.
  settings.max_speed_kmh = 100;
  const TrackProfile capped = track_profile(cells, route_records(10), settings, 10000, {});
  EXPECT_DOUBLE_EQ(capped.stretches.front().permitted_mps, 100 / 3.6);
}

TEST(FastestRun, AStopInsideASlowdownLeavesUnderItsSpeedUntilTheTrainIsClear) {
  TimingSettings settings;
  const auto cells = route_cells(10000, 150, 4000, 2000, 30);
  const TrackProfile profile = track_profile(cells, route_records(0), settings, 10000, {5000});
  const TrainPerformance train = plain_train(0.5, 0.5);
  const FastestRun run = fastest_run(profile, train, {{0, 0, 0}, {5000, 0, 60}, {10000, 0, 0}}, {0, 5000, 10000}, true);
  ASSERT_EQ(run.passings.size(), 3U);
  const double v = 30 / 3.6, clear = 6000 + settings.locomotive_length_m;
  for (const CurvePoint& point : run.curve)
    if (point.position_m >= 4000 && point.position_m <= clear) {
      EXPECT_LE(point.speed_mps, v + 1e-9);
    }
  // It stops from v in v² / 2b, waits its dwell, and is faster again once clear.
  EXPECT_LT(speed_at(run, 5000 - v * v / (2 * 0.5) - 1), v + 1e-9);
  EXPECT_GT(speed_at(run, 5000 - v * v / (2 * 0.5) - 1), v - 1e-6);
  EXPECT_NEAR(run.passings[1].departure_s - run.passings[1].time_s, 60, 1e-9);
  EXPECT_GT(speed_at(run, clear + 2000), v);
}

// The built-in sources compiled in memory, the service source edited first.
PairCompileResult builtin_compile(const std::string& from = "", const std::string& to = "") {
  std::string service(kServiceSourceText);
  if (!from.empty()) service.replace(service.find(from), from.size(), to);
  return compile_pair({"Milano_Tortona_linea.txt", std::string(kLineSourceText)}, {"Milano_Tortona_5-.txt", service});
}

std::vector<KeptDiagnostic> timing_warnings(const PairCompileResult& result) {
  std::vector<KeptDiagnostic> found;
  for (const KeptDiagnostic& d : result.diagnostics)
    if (d.warning == warning_number(Warning::kTimetableTooTight)) found.push_back(d);
  return found;
}

const char* const kVoghera = "60,  18,58, 0, VOGHERA";
const char* const kVogheraTighter = "60,  18,57, 0, VOGHERA";

TEST(RunningTimeWarning, TheBuiltInTimetableCanBeKept) {
  EXPECT_TRUE(timing_warnings(builtin_compile()).empty());
}

TEST(RunningTimeWarning, AMinuteTighterAtOneStationWarnsAtItsTimeWithAFix) {
  const PairCompileResult result = builtin_compile(kVoghera, kVogheraTighter);
  const auto warnings = timing_warnings(result);
  ASSERT_EQ(warnings.size(), 1U);
  const KeptDiagnostic& w = warnings.front();
  EXPECT_EQ(w.severity, Severity::kWarning);
  EXPECT_EQ(w.message.rfind("VOGHERA 18.57 cannot be left before 18.57.", 0), 0U) << w.message;
  ASSERT_TRUE(w.place);
  const std::string service(kServiceSourceText);
  const std::string row = "stazione,   63200";
  const size_t row_at = service.find(row);
  EXPECT_EQ(w.place->line, static_cast<int>(std::count(service.begin(), service.begin() + static_cast<long>(row_at), '\n')) + 1);
  ASSERT_TRUE(w.fix);
  EXPECT_EQ(w.fix->written, "18,57, 0");
  EXPECT_EQ(w.fix->replacement, "18,58, 0");
  // The slowdown on the run from PAVIA is among the notes, at its row.
  const auto slowdown = std::find_if(w.notes.begin(), w.notes.end(), [](const KeptNote& n) {
    return n.message.find("slowdown at 52 600 m") != std::string::npos;
  });
  ASSERT_NE(slowdown, w.notes.end());
  EXPECT_TRUE(slowdown->place);
  // Hover over the time tells the earliest time and the slack.
  ASSERT_FALSE(result.station_times.empty());
}

TEST(TimetableTimeFix, KeepsEachFieldItsWidth) {
  const std::string row = "stazione, 1, 2, 3,   9, 5, 0, X";
  const auto fix = timetable_time_fix(row, static_cast<int>(row.find('9')) + 1, 9 * 3600 + 7 * 60);
  ASSERT_TRUE(fix);
  EXPECT_EQ(fix->written, "9, 5, 0");
  EXPECT_EQ(fix->replacement, "9, 7, 0");
  EXPECT_FALSE(timetable_time_fix("stazione, 9, 5", 11, 0));
}

TEST(RunningTimeWarning, TheCompileCommandWarnsAndWerrorFailsIt) {
  const testing::TempFolder folder;
  std::string service(kServiceSourceText);
  service.replace(service.find(kVoghera), std::string(kVoghera).size(), kVogheraTighter);
  testing::write_bytes(folder.path() / "Milano_Tortona_linea.txt", std::string(kLineSourceText));
  testing::write_bytes(folder.path() / "Milano_Tortona_5-.txt", service);
  const auto run = testing::run_seam({"compile", "--check", "Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt"},
                                        folder.path());
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_NE(run.err.find("warning: VOGHERA 18.57 cannot be left before"), std::string::npos) << run.err;
  const auto werror = testing::run_seam(
      {"compile", "--check", "--werror", "Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt"}, folder.path());
  EXPECT_EQ(werror.exit_status, 1);
  // A faster train keeps it.
  const auto faster = testing::run_seam({"timing", "--acceleration", "0.6", "--margin", "2,1",
                                            "Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt"},
                                           folder.path());
  EXPECT_EQ(faster.exit_status, 0) << faster.err;
  const auto json = testing::run_seam({"timing", "--json", "Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt"},
                                         folder.path());
  EXPECT_EQ(json.exit_status, 1);
  const auto document = nlohmann::json::parse(json.out);
  const auto& stations = document.at("stations").at("stations");
  const auto voghera = std::find_if(stations.begin(), stations.end(),
                                    [](const nlohmann::json& s) { return s.at("name") == "VOGHERA"; });
  ASSERT_NE(voghera, stations.end());
  EXPECT_EQ(voghera->at("scheduled_s"), 18 * 3600 + 57 * 60);
  EXPECT_LT(voghera->at("slack_s").get<int>(), 0);
}

TEST(RunningTimeWarning, TheLanguageServerWarnsHoversAndTakesItsSettings) {
  const testing::TempFolder folder;
  std::string service(kServiceSourceText);
  service.replace(service.find(kVoghera), std::string(kVoghera).size(), kVogheraTighter);
  testing::write_bytes(folder.path() / "Milano_Tortona_linea.txt", std::string(kLineSourceText));
  const std::string uri = testing::file_uri(folder.path() / "Milano_Tortona_5-.txt");
  const size_t row_at = service.find("stazione,   63200");
  const int line = static_cast<int>(std::count(service.begin(), service.begin() + static_cast<long>(row_at), '\n'));
  const int character = static_cast<int>(service.find("18,57", row_at) - row_at) + 1;
  auto script = [&](nlohmann::json options) {
    testing::LspScript s;
    s.request(1, "initialize", {{"capabilities", nlohmann::json::object()}, {"initializationOptions", options}})
        .notify("initialized")
        .open(uri, service)
        .at(2, "textDocument/hover", uri, line, character)
        .finish();
    return s.run(folder.path());
  };
  auto warned = [&](const testing::LspRun& run) {
    for (const nlohmann::json& list : run.published(uri))
      for (const nlohmann::json& d : list)
        if (d.value("code", "") == warning_id(warning_number(Warning::kTimetableTooTight))) return true;
    return false;
  };
  const testing::LspRun plain = script(nlohmann::json::object());
  EXPECT_TRUE(warned(plain));
  const std::string hover = plain.answer(2).at("result").at("contents").at("value").get<std::string>();
  EXPECT_NE(hover.find("earliest 18.5"), std::string::npos) << hover;
  EXPECT_NE(hover.find("slack -"), std::string::npos) << hover;
  EXPECT_FALSE(warned(script({{"timing", {{"acceleration", 0.6}, {"margin", "2,1"}}}})));
}

}  // namespace
}  // namespace scenario
