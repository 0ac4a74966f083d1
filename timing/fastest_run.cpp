#include "timing/fastest_run.hpp"

#include <algorithm>
#include <cmath>

namespace scenario {
namespace {

constexpr double kGravity_mps2 = 9.81;
constexpr double kKmhPerMps = 3.6;
// The longest step of the forward integration; the limits never change inside one.
constexpr double kStep_m = 10;
// Braking never counts on less than this share of its service value, however steep a fall.
constexpr double kLeastBrakingShare = 0.25;
constexpr double kTiny = 1e-9;

// The time over `distance` between two speeds, exact for a constant acceleration.
double time_between(double distance, double v0, double v1) { return 2 * distance / (v0 + v1); }

}  // namespace

double TrainPerformance::acceleration(double v, double gradient_per_mille) const {
  const double traction = v <= constant_power_from_mps
                              ? starting_acceleration_mps2
                              : starting_acceleration_mps2 * constant_power_from_mps / v;
  return traction - resistance_mps2 - resistance_quadratic_per_mps2 * v * v -
         kGravity_mps2 * gradient_per_mille / 1000;
}

double TrainPerformance::braking(double gradient_per_mille) const {
  return std::max(braking_mps2 * kLeastBrakingShare, braking_mps2 + kGravity_mps2 * gradient_per_mille / 1000);
}

TrainPerformance train_performance(const TimingSettings& settings, int braked_mass_percent) {
  TrainPerformance train;
  train.braking_mps2 = settings.braking_mps2 ? *settings.braking_mps2 : service_braking_mps2(braked_mass_percent);
  train.starting_acceleration_mps2 = settings.starting_acceleration_mps2;
  train.constant_power_from_mps = settings.constant_power_from_kmh / kKmhPerMps;
  // N per tonne is mm/s² per unit of mass; the quadratic term is per (km/h)².
  train.resistance_mps2 = settings.resistance_n_per_t / 1000;
  train.resistance_quadratic_per_mps2 = settings.resistance_quadratic_n_per_t / 1000 * kKmhPerMps * kKmhPerMps;
  return train;
}

FastestRun fastest_run(const TrackProfile& profile, const TrainPerformance& train, const std::vector<RunStop>& stops,
                       const std::vector<double>& points, bool keep_curve) {
  FastestRun run;
  const auto& stretches = profile.stretches;
  if (stops.empty() || stretches.empty()) return run;
  const double start_m = stops.front().position_m;

  // Backward: the square of the speed each stretch may end with, so that every later limit
  // and stop can still be kept by braking.
  std::vector<double> end_v2(stretches.size());
  size_t stop_index = stops.size();
  double later_v2 = 0;  // the end of the route is a stop
  for (size_t i = stretches.size(); i-- > 0;) {
    const ProfileStretch& s = stretches[i];
    while (stop_index > 0 && stops[stop_index - 1].position_m > s.to_m) --stop_index;
    const bool stop_at_end = stop_index > 0 && stops[stop_index - 1].position_m == s.to_m;
    const double v2max = s.permitted_mps * s.permitted_mps;
    end_v2[i] = stop_at_end ? 0 : std::min(v2max, later_v2);
    later_v2 = std::min(v2max, end_v2[i] + 2 * train.braking(s.gradient_per_mille) * (s.to_m - s.from_m));
  }

  // Forward, from the first stop.
  double t = stops.front().not_before_s;
  double v2 = 0;
  size_t next_stop = 1;
  size_t next_point = 0;
  while (next_point < points.size() && points[next_point] < start_m) ++next_point;
  auto keep = [&](double s, double v) {
    if (keep_curve) run.curve.push_back({s, v});
  };
  keep(start_m, 0);
  auto pass_point = [&](double s, double departure) {
    while (next_point < points.size() && points[next_point] <= s + kTiny) {
      if (std::abs(points[next_point] - s) <= kTiny) run.passings.push_back({s, t, departure});
      ++next_point;
    }
  };
  pass_point(start_m, t);
  for (size_t i = 0; i < stretches.size(); ++i) {
    const ProfileStretch& stretch = stretches[i];
    if (stretch.to_m <= start_m) continue;
    const double V2 = stretch.permitted_mps * stretch.permitted_mps;
    const double b = train.braking(stretch.gradient_per_mille);
    const double grade = stretch.gradient_per_mille;
    const double end = stretch.to_m;
    const double E = end_v2[i];
    auto brake_line = [&](double s) { return E + 2 * b * (end - s); };
    auto cap = [&](double s) { return std::min(V2, brake_line(s)); };
    double s = std::max(stretch.from_m, start_m);
    v2 = std::min(v2, cap(s));
    while (s < end - kTiny) {
      const double v = std::sqrt(std::max(0.0, v2));
      if (V2 <= 0) {
        // No speed is permitted here: the train cannot go on.
        run.stall_m = s;
        return run;
      }
      if (v2 >= cap(s) * (1 - kTiny)) {
        if (brake_line(s) <= V2 * (1 + kTiny)) {
          // On the braking curve: follow it to the stretch's end.
          const double v1 = std::sqrt(std::max(0.0, E));
          t += time_between(end - s, v, v1);
          s = end;
          v2 = E;
          keep(s, v1);
          break;
        }
        if (train.acceleration(v, grade) >= 0) {
          // At the permitted speed: run at it to where braking must begin.
          const double until = std::min(end, end - (V2 - E) / (2 * b));
          t += (until - s) / v;
          s = until;
          v2 = V2;
          keep(s, v);
          continue;
        }
      }
      // Under both: accelerate (or fall back on a climb), a midpoint step in v².
      const double step = std::min(kStep_m, end - s);
      const double a0 = train.acceleration(v, grade);
      const double mid_v2 = std::max(0.0, v2 + a0 * step);
      const double a = train.acceleration(std::sqrt(mid_v2), grade);
      double next_v2 = v2 + 2 * a * step;
      double advance = step;
      if (next_v2 <= 0) {
        // The train stops on the climb.
        run.stall_m = s + (a < 0 ? v2 / (-2 * a) : 0);
        t += a < 0 ? time_between(*run.stall_m - s, v, 0) : 0;
        keep(*run.stall_m, 0);
        return run;
      }
      const double next_cap = cap(s + step);
      if (next_v2 > next_cap) {
        // It meets the permitted speed or the braking curve within the step: go to there.
        const double a_step = (next_v2 - v2) / (2 * step);
        double x = step;
        if (a_step > 0 && V2 < next_v2) x = std::min(x, (V2 - v2) / (2 * a_step));
        if (a_step + b > 0) x = std::min(x, (brake_line(s) - v2) / (2 * (a_step + b)));
        advance = std::clamp(x, 0.0, step);
        next_v2 = std::min(v2 + 2 * a_step * advance, cap(s + advance));
        if (advance <= kTiny) {
          // Already there: the next round follows the permitted speed or the curve.
          v2 = cap(s);
          continue;
        }
      }
      const double v1 = std::sqrt(std::max(0.0, next_v2));
      t += advance > 0 ? time_between(advance, v, v1) : 0;
      s += advance;
      v2 = next_v2;
      keep(s, v1);
    }
    s = end;
    // A point or a stop at the stretch's end.
    if (next_stop < stops.size() && std::abs(stops[next_stop].position_m - end) <= kTiny) {
      const RunStop& stop = stops[next_stop++];
      const double arrival = t;
      t = std::max(arrival + stop.dwell_s, stop.not_before_s);
      v2 = 0;
      const double departure = t;
      t = arrival;
      pass_point(end, departure);
      t = departure;
      if (next_stop == stops.size()) break;
    } else {
      pass_point(end, t);
    }
  }
  return run;
}

}  // namespace scenario
