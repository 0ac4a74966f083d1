#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/sim_record.hpp"
#include "model/track_cell.hpp"
#include "reading/track_reading.hpp"
#include "timing/fastest_run.hpp"
#include "timing/timing_settings.hpp"
#include "timing/track_profile.hpp"

namespace scenario {

// One station of the route as the fastest run meets it. A station with a timetable time is
// a stop (the first the departure, the last the arrival, as the train card has them); its
// time is the departure, at the last station the arrival. Places without a time are passed.
struct StationTiming {
  int slot = 0;
  std::string name;  // as the records hold it (Windows-1252)
  int64_t position_m = 0;
  int64_t reading_m = 0;
  Station::Call call = Station::Call::kPass;
  std::optional<int32_t> scheduled_s;   // the timetable time, for a stop
  std::optional<double> earliest_s;     // the earliest time the run can keep there: passing,
                                        // arrival at the last stop, departure at the others
  std::optional<double> with_margin_s;  // the same with the regularity margin, for a stop after the first
  std::optional<double> run_s;          // the fastest run from the stop before, for a stop after the first
  std::optional<double> leg_m;          // the distance from the stop before
  // scheduled - with margin: below 0 the timetable cannot be kept.
  std::optional<double> slack_s() const;
};

struct RunningTimes {
  std::vector<StationTiming> stations;  // in running order
  std::optional<double> stall_m;        // where the train stops on a climb
  TrainPerformance train;
  TrackProfile profile;
  std::vector<CurvePoint> curve;        // the fastest run's speed, when asked for
  bool timed = false;                   // at least two stops: a run to check
};

// The fastest run over the scenario's stops and the earliest time at every station.
RunningTimes running_times(const std::vector<TrackCell>& cells, const std::array<SimRecord, kRecordCount>& records,
                           const TimingSettings& settings, bool keep_curve = false);

// What one slowdown costs the run to a stop: the run time with it less the run time without.
struct SlowdownCost {
  ProfileSlowdown slowdown;
  double cost_s = 0;
};

// The slowdowns the run to the stop `station` (an index of RunningTimes::stations) passes,
// each with its cost, the dearest first; those that cost nothing are left out.
std::vector<SlowdownCost> slowdown_costs(const std::vector<TrackCell>& cells,
                                         const std::array<SimRecord, kRecordCount>& records,
                                         const TimingSettings& settings, const RunningTimes& times, size_t station);

// A time of day to the second, as the papers print it: "18.42" or "18.42.30"; the run's
// times are rounded up to the second, since a train cannot be there sooner.
std::string earliest_text(double time_s);
// A duration: "14 min 30 s", "25 s", "-1 min 5 s".
std::string duration_text(double seconds);

}  // namespace scenario
