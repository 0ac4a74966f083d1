#pragma once

#include <cstdint>
#include <random>
#include <iterator>
#include <string>
#include <vector>

#include "model/scenario_model.hpp"

namespace scenario::testing {

// A small compiled-looking model made by hand: a few features, the header, a station, a
// board text with a Windows-1252 letter, and a plan of ten metres computed to metre 7.
// The computed points of a plan by metre, the starting points included (none without them).
inline std::vector<PlanPoint> plan_points(const LinePlan& plan) {
  std::vector<PlanPoint> points;
  if (!plan.has_starting_points()) return points;
  points.assign(std::begin(kPlanStartingPoints), std::end(kPlanStartingPoints));
  PlanPointGenerator generator(plan);
  PlanPoint block[100];
  while (const size_t made = generator.next(block)) points.insert(points.end(), block, block + made);
  return points;
}

inline ScenarioModel sample_model() {
  ScenarioModel model;
  model.scenario_name = "Prova";
  model.scenario_number = "7";
  model.plan_mode = 1;
  model.route_extent_m = 9;
  model.dimension_cells(6);
  for (int i = 0; i <= 6; ++i) {
    TrackCell& c = model.cell(i);
    c.speed_limit = 30;  // 150 km/h
    c.gradient = 100;
    c.adhesion = 3;
  }
  model.cell(1).value1 = 5121;
  model.cell(1).value2 = 1234;
  TrackCell& signal = model.cell(3);
  signal.kind = kSignal;
  signal.value1 = 23;
  signal.value2 = -1;
  signal.value3 = 32767;
  signal.value4 = -32768;
  signal.signal_time = 240;
  model.cell(2).approach = 81;
  model.cell(4).mountain = 2;
  model.cell(4).gradient = 88;  // 12 per mille downhill
  model.cell(5).kind = kIndicatorBoard;
  model.cell(5).value1 = 80;

  SimRecord& station = model.record(1);
  station.station_type = 2;
  station.start_m = 2000;
  station.end_m = 2300;
  station.position_m = 2100;
  station.p4 = 1;
  station.text = "Voghera";
  station.p7 = -7;
  station.p12 = 12;
  station.p5 = 255;
  station.time_s = 7 * 3600 + 12 * 60 + 30;
  model.record(80).text = "Citt\xe0";  // Windows-1252 a grave
  SimRecord& post_change = model.record(81);
  post_change.start_m = 63200;
  post_change.end_m = 101400;
  post_change.position_m = 1;
  SimRecord& service = model.record(84);
  service.start_m = 85;
  service.end_m = 82000;
  service.position_m = 9;
  SimRecord& header = model.record(85);
  header.text = "Prova";
  header.start_m = 1;
  header.end_m = 59500;
  header.position_m = 31000;
  header.p7 = 610;
  header.time_s = 40000;
  SimRecord& number = model.record(86);
  number.text = "7";
  number.start_m = 10550;
  number.end_m = 79900;
  number.position_m = 4;
  number.p7 = 3;
  number.p10 = 6;
  number.p11 = 45;

  model.line_plan = LinePlan(9);
  model.line_plan.set_starting_points();
  model.line_plan.extend_through(3, 0.0);  // straight, then a sharp curve to metre 7
  model.line_plan.extend_through(7, 0.5);
  return model;
}

// A model with random contents of every field, for round trips.
inline ScenarioModel random_model(uint32_t seed) {
  std::mt19937 random(seed);
  auto between = [&random](int64_t low, int64_t high) {
    return std::uniform_int_distribution<int64_t>(low, high)(random);
  };
  ScenarioModel model;
  model.plan_mode = 1;
  model.dimension_cells(static_cast<int32_t>(between(0, 300)));
  for (int64_t i = 0; i <= model.last_cell; ++i) {
    TrackCell& c = model.cell(i);
    c.kind = static_cast<uint8_t>(between(0, 255));
    c.value1 = static_cast<int16_t>(between(-32768, 32767));
    c.value2 = static_cast<int16_t>(between(-32768, 32767));
    c.value3 = static_cast<int16_t>(between(-32768, 32767));
    c.value4 = static_cast<int16_t>(between(-32768, 32767));
    c.signal_time = static_cast<uint8_t>(between(0, 255));
    c.approach = static_cast<uint8_t>(between(0, 255));
    c.mountain = static_cast<uint8_t>(between(0, 255));
    c.speed_limit = static_cast<uint8_t>(between(0, 255));
    c.gradient = static_cast<uint8_t>(between(0, 255));
    c.adhesion = static_cast<uint8_t>(between(0, 255));
  }
  for (int64_t slot = 0; slot < kRecordCount; ++slot) {
    SimRecord& r = model.record(slot);
    r.station_type = static_cast<uint8_t>(between(0, 255));
    r.start_m = static_cast<int32_t>(between(INT32_MIN, INT32_MAX));
    r.end_m = static_cast<int32_t>(between(INT32_MIN, INT32_MAX));
    r.position_m = static_cast<int32_t>(between(INT32_MIN, INT32_MAX));
    r.p4 = static_cast<uint8_t>(between(0, 255));
    r.text.resize(static_cast<size_t>(between(0, 40)));
    for (char& ch : r.text) ch = static_cast<char>(between(0, 255));
    r.p7 = static_cast<int16_t>(between(-32768, 32767));
    r.p8 = static_cast<int16_t>(between(-32768, 32767));
    r.p10 = static_cast<int16_t>(between(-32768, 32767));
    r.p11 = static_cast<int16_t>(between(-32768, 32767));
    r.p12 = static_cast<int16_t>(between(-32768, 32767));
    r.p9 = static_cast<uint8_t>(between(0, 255));
    r.p13 = static_cast<uint8_t>(between(0, 255));
    r.p6 = static_cast<uint8_t>(between(0, 255));
    r.p5 = static_cast<uint8_t>(between(0, 255));
    r.time_s = static_cast<int32_t>(between(INT32_MIN, INT32_MAX));
  }
  const auto extent = static_cast<int32_t>(between(0, 500));
  model.line_plan = LinePlan(extent);
  if (extent >= 1 && between(0, 3) != 0) {
    model.line_plan.set_starting_points();
    // Runs of random length and curvature up to a random metre.
    const int64_t last = between(1, extent);
    std::uniform_real_distribution<double> curvature(-0.01, 0.01);
    while (model.line_plan.computed_end() <= last)
      model.line_plan.extend_through(between(model.line_plan.computed_end(), last), curvature(random));
  }
  return model;
}

}  // namespace scenario::testing
