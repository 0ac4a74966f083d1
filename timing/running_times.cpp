#include "timing/running_times.hpp"

#include <algorithm>
#include <cmath>

#include "model/format_rules.hpp"
#include "reading/kilometre_readings.hpp"

namespace scenario {
namespace {

constexpr double kSecondsPerMinute = 60;
constexpr double kMetresPer100Km = 100000;

bool is_stop(Station::Call call) { return call != Station::Call::kPass; }

// The stops the run can keep in running order: a stop that does not lie past the one
// before (a route the compiler would refuse) is left out.
struct Plan {
  std::vector<RunStop> stops;
  std::vector<double> points;
  double end_m = 0;
};

Plan plan_of(std::vector<StationTiming>& stations, const TimingSettings& settings) {
  Plan plan;
  for (StationTiming& station : stations) {
    if (!is_stop(station.call) || !station.scheduled_s) continue;
    const double position = static_cast<double>(station.position_m);
    if (!plan.stops.empty() && position <= plan.stops.back().position_m) {
      station.call = Station::Call::kPass;
      station.scheduled_s.reset();
      continue;
    }
    plan.stops.push_back({position, static_cast<double>(*station.scheduled_s), settings.dwell_s});
  }
  if (plan.stops.size() < 2) return plan;
  plan.end_m = plan.stops.back().position_m;
  for (const StationTiming& station : stations) {
    const double position = static_cast<double>(station.position_m);
    if (position >= plan.stops.front().position_m && position <= plan.end_m) plan.points.push_back(position);
  }
  std::sort(plan.points.begin(), plan.points.end());
  plan.points.erase(std::unique(plan.points.begin(), plan.points.end()), plan.points.end());
  return plan;
}

struct Computed {
  RunningTimes times;
  FastestRun run;
};

Computed compute(const std::vector<TrackCell>& cells, const std::array<SimRecord, kRecordCount>& records,
                 const TimingSettings& settings, bool keep_curve, std::optional<size_t> without_slowdown) {
  Computed computed;
  RunningTimes& times = computed.times;
  const KilometreReadings readings(records);
  for (const Station& station : stations_of(cells, records, readings)) {
    StationTiming timing{station.slot, station.record->text, station.record->position_m, station.reading_m,
                         station.call, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    if (is_stop(station.call)) timing.scheduled_s = station.record->time_s;
    times.stations.push_back(std::move(timing));
  }
  times.train = train_performance(settings, kBrakedMassPercent.in(records));
  const Plan plan = plan_of(times.stations, settings);
  if (plan.stops.size() < 2) return computed;
  times.timed = true;
  times.profile = track_profile(cells, records, settings, plan.end_m, plan.points, without_slowdown);
  computed.run = fastest_run(times.profile, times.train, plan.stops, plan.points, keep_curve);
  times.stall_m = computed.run.stall_m;
  times.curve = std::move(computed.run.curve);

  // Each station takes the run's time at its position; a stop after the first adds the margin
  // to the run from the stop before, as the train left it.
  const auto& passings = computed.run.passings;
  std::optional<double> left_s, left_m;
  for (StationTiming& station : times.stations) {
    const double position = static_cast<double>(station.position_m);
    const auto passing = std::find_if(passings.begin(), passings.end(),
                                      [&](const PassingTime& p) { return std::abs(p.position_m - position) < 1e-6; });
    if (passing == passings.end()) continue;
    if (!station.scheduled_s) {
      station.earliest_s = passing->time_s;
      continue;
    }
    const bool last = passing->position_m == plan.end_m;
    const double dwell = last || !left_s ? 0 : settings.dwell_s;
    station.earliest_s = passing->time_s + dwell;
    if (left_s && left_m) {
      station.run_s = passing->time_s - *left_s;
      station.leg_m = position - *left_m;
      const double margin = *station.run_s * settings.margin_percent / 100 +
                            *station.leg_m / kMetresPer100Km * settings.margin_min_per_100km * kSecondsPerMinute;
      station.with_margin_s = *station.earliest_s + margin;
    }
    left_s = passing->departure_s;
    left_m = position;
  }
  return computed;
}

}  // namespace

std::optional<double> StationTiming::slack_s() const {
  if (!scheduled_s || !with_margin_s) return std::nullopt;
  return *scheduled_s - *with_margin_s;
}

RunningTimes running_times(const std::vector<TrackCell>& cells, const std::array<SimRecord, kRecordCount>& records,
                           const TimingSettings& settings, bool keep_curve) {
  return compute(cells, records, settings, keep_curve, std::nullopt).times;
}

std::vector<SlowdownCost> slowdown_costs(const std::vector<TrackCell>& cells,
                                         const std::array<SimRecord, kRecordCount>& records,
                                         const TimingSettings& settings, const RunningTimes& times, size_t station) {
  std::vector<SlowdownCost> costs;
  if (station >= times.stations.size() || !times.stations[station].run_s || !times.stations[station].leg_m) return costs;
  const StationTiming& stop = times.stations[station];
  const double to = static_cast<double>(stop.position_m), from = to - *stop.leg_m;
  for (size_t i = 0; i < times.profile.slowdowns.size(); ++i) {
    const ProfileSlowdown& slowdown = times.profile.slowdowns[i];
    if (slowdown.to_m + times.profile.train_length_m < from || slowdown.from_m > to) continue;
    const RunningTimes without = compute(cells, records, settings, false, i).times;
    if (station >= without.stations.size() || !without.stations[station].run_s) continue;
    const double cost = *stop.run_s - *without.stations[station].run_s;
    if (cost >= 0.5) costs.push_back({slowdown, cost});
  }
  std::sort(costs.begin(), costs.end(), [](const SlowdownCost& a, const SlowdownCost& b) { return a.cost_s > b.cost_s; });
  return costs;
}

std::string earliest_text(double time_s) {
  return timetable_text(static_cast<int32_t>(std::ceil(time_s - 1e-6)));
}

std::string duration_text(double seconds) {
  const auto whole = static_cast<int64_t>(std::llround(seconds));
  const int64_t size = whole < 0 ? -whole : whole;
  std::string text = whole < 0 ? "-" : "";
  if (size >= 60) text += std::to_string(size / 60) + " min" + (size % 60 != 0 ? " " : "");
  if (size % 60 != 0 || size < 60) text += std::to_string(size % 60) + " s";
  return text;
}

}  // namespace scenario
