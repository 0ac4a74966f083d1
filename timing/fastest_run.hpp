#pragma once

#include <optional>
#include <vector>

#include "timing/timing_settings.hpp"
#include "timing/track_profile.hpp"

namespace scenario {

// The train as the run sees it: what it can do, per unit of its mass.
struct TrainPerformance {
  double braking_mps2 = 0.5;
  double starting_acceleration_mps2 = 0.35;
  double constant_power_from_mps = 80 / 3.6;
  double resistance_mps2 = 0.015;            // at rest
  double resistance_quadratic_per_mps2 = 0;  // times v² (v in m/s)

  // What the locomotive can add to the speed at `v` on a gradient (per mille, rising
  // positive): its tractive effort less the running resistance and g·i.
  double acceleration(double v_mps, double gradient_per_mille) const;
  // The deceleration of service braking on a gradient: a rise helps, a fall takes from it.
  double braking(double gradient_per_mille) const;
};

TrainPerformance train_performance(const TimingSettings& settings, int braked_mass_percent);

// A stop of the run: the train stands at `position_m` and leaves no earlier than
// `not_before_s` (its timetable time) and no earlier than its arrival plus `dwell_s`.
struct RunStop {
  double position_m = 0;
  double not_before_s = 0;
  double dwell_s = 0;
};

// A point of the speed curve.
struct CurvePoint {
  double position_m = 0;
  double speed_mps = 0;
};

// Where the run passes, or stops at, a point asked for, and when.
struct PassingTime {
  double position_m = 0;
  double time_s = 0;       // arrival, or passing
  double departure_s = 0;  // the same as time_s where it does not stop
};

struct FastestRun {
  std::vector<PassingTime> passings;  // one per point asked for that the run reached, in order
  std::vector<CurvePoint> curve;      // only when asked for
  std::optional<double> stall_m;      // where the train stopped on a climb, if it did
};

// The fastest run from the first stop to the end of the profile: braking curves from every
// drop of the permitted speed and every stop, taken backwards; acceleration forwards under
// them; at every point the smaller of the two. The run leaves the first stop at its
// `not_before_s`. `points` (sorted, each the start of a stretch) are the places whose
// times are kept. Linear in the number of stretches and in the route's length.
FastestRun fastest_run(const TrackProfile& profile, const TrainPerformance& train, const std::vector<RunStop>& stops,
                       const std::vector<double>& points, bool keep_curve);

}  // namespace scenario
