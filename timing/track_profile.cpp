#include "timing/track_profile.hpp"

#include <algorithm>

#include "model/format_rules.hpp"
#include "reading/track_reading.hpp"

namespace scenario {
namespace {

constexpr double kKmhPerMps = 3.6;

// A speed limit over [from_m, to_m) of the train's head, before the train-length rule.
struct Limit {
  double from_m;
  double to_m;
  double kmh;
};

// The line speed of each cell on the route as runs; a cell no line speed reached takes the
// speed before it (the first cells the first speed written).
std::vector<Limit> line_speed_limits(const std::vector<TrackCell>& cells, double end_m) {
  std::vector<Limit> limits;
  const int64_t last = std::min<int64_t>(static_cast<int64_t>(cells.size()) - 1,
                                         static_cast<int64_t>(end_m / kCellLength_m));
  double earlier = 0;
  for (int64_t c = 0; c <= last; ++c)
    if (cells[static_cast<size_t>(c)].speed_limit != 0) {
      earlier = static_cast<double>(speed_kmh(cells[static_cast<size_t>(c)].speed_limit));
      break;
    }
  for (int64_t c = 0; c <= last; ++c) {
    const uint8_t code = cells[static_cast<size_t>(c)].speed_limit;
    const double kmh = code == 0 ? earlier : static_cast<double>(speed_kmh(code));
    earlier = kmh;
    const double from = static_cast<double>(c * kCellLength_m);
    if (!limits.empty() && limits.back().kmh == kmh)
      limits.back().to_m = from + kCellLength_m;
    else
      limits.push_back({from, from + kCellLength_m, kmh});
  }
  return limits;
}

// The gradient of each cell on the route as runs; a cell no gradient row reached is level.
std::vector<Limit> gradient_runs(const std::vector<TrackCell>& cells, double end_m) {
  std::vector<Limit> runs;
  const int64_t last = std::min<int64_t>(static_cast<int64_t>(cells.size()) - 1,
                                         static_cast<int64_t>(end_m / kCellLength_m));
  for (int64_t c = 0; c <= last; ++c) {
    const uint8_t stored = cells[static_cast<size_t>(c)].gradient;
    const double per_mille = stored == 0 ? 0 : static_cast<double>(gradient_per_mille(stored));
    const double from = static_cast<double>(c * kCellLength_m);
    if (!runs.empty() && runs.back().kmh == per_mille)
      runs.back().to_m = from + kCellLength_m;
    else
      runs.push_back({from, from + kCellLength_m, per_mille});
  }
  return runs;
}

// The permitted speed of the head: the least of every limit whose stretch any part of the
// train is on, so a limit over [a, b) holds the head over [a, b + length). The limits come
// sorted by start; a sweep keeps those in force, their ends passing in the same order.
std::vector<Limit> permitted_speeds(std::vector<Limit> limits, double length_m, double end_m) {
  std::sort(limits.begin(), limits.end(), [](const Limit& x, const Limit& y) { return x.from_m < y.from_m; });
  std::vector<double> cuts{0, end_m};
  for (const Limit& limit : limits) {
    cuts.push_back(std::clamp(limit.from_m, 0.0, end_m));
    cuts.push_back(std::clamp(limit.to_m + length_m, 0.0, end_m));
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  // Limits in force, by the end of their hold; a min-deque would need ends in order, which
  // slowdowns inside a longer line-speed run break, so the few in force are scanned.
  std::vector<const Limit*> in_force;
  std::vector<Limit> permitted;
  size_t next = 0;
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const double from = cuts[i], to = cuts[i + 1];
    while (next < limits.size() && limits[next].from_m <= from) in_force.push_back(&limits[next++]);
    std::erase_if(in_force, [&](const Limit* limit) { return limit->to_m + length_m <= from; });
    double kmh = 0;
    bool any = false;
    for (const Limit* limit : in_force)
      if (!any || limit->kmh < kmh) kmh = limit->kmh, any = true;
    if (!permitted.empty() && permitted.back().kmh == kmh)
      permitted.back().to_m = to;
    else
      permitted.push_back({from, to, kmh});
  }
  return permitted;
}

}  // namespace

double train_length_m(int coaches, const TimingSettings& settings) {
  return std::max(0, coaches) * settings.coach_length_m + settings.locomotive_length_m;
}

TrackProfile track_profile(const std::vector<TrackCell>& cells, const std::array<SimRecord, kRecordCount>& records,
                           const TimingSettings& settings, double end_m, const std::vector<double>& cuts,
                           std::optional<size_t> without_slowdown) {
  TrackProfile profile;
  profile.train_length_m = train_length_m(kCoaches.in(records), settings);
  std::vector<Limit> limits = line_speed_limits(cells, end_m);
  if (settings.max_speed_kmh) limits.push_back({0, end_m, *settings.max_speed_kmh});
  for (const Slowdown& slowdown : slowdowns_of(cells)) {
    const double from = static_cast<double>(feature_position_m(kSlowdownStart, slowdown.start_cell));
    const double to = std::max(from, static_cast<double>(feature_position_m(kSlowdownEnd, slowdown.end_cell)));
    if (without_slowdown != profile.slowdowns.size()) limits.push_back({from, to, static_cast<double>(slowdown.speed_kmh)});
    profile.slowdowns.push_back({slowdown.start_cell, from, to, static_cast<double>(slowdown.speed_kmh)});
  }
  const std::vector<Limit> permitted = permitted_speeds(std::move(limits), profile.train_length_m, end_m);
  const std::vector<Limit> gradients = gradient_runs(cells, end_m);

  std::vector<double> points{0, end_m};
  for (const Limit& limit : permitted) points.push_back(limit.from_m);
  for (const Limit& run : gradients) points.push_back(std::min(run.from_m, end_m));
  for (const double cut : cuts)
    if (cut > 0 && cut < end_m) points.push_back(cut);
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  size_t p = 0, g = 0;
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    const double from = points[i], to = points[i + 1];
    while (p + 1 < permitted.size() && permitted[p].to_m <= from) ++p;
    while (g + 1 < gradients.size() && gradients[g].to_m <= from) ++g;
    const double kmh = permitted.empty() ? 0 : permitted[p].kmh;
    const double gradient = gradients.empty() ? 0 : gradients[g].kmh;
    profile.stretches.push_back({from, to, kmh / kKmhPerMps, gradient});
  }
  return profile;
}

}  // namespace scenario
