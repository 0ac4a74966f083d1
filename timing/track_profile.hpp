#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/sim_record.hpp"
#include "model/track_cell.hpp"
#include "timing/timing_settings.hpp"

namespace scenario {

// A stretch of the route over which the permitted speed and the gradient stay the same.
struct ProfileStretch {
  double from_m = 0;
  double to_m = 0;
  double permitted_mps = 0;
  double gradient_per_mille = 0;
};

// A slowdown of the cells as the check sees it: from its start to its end position.
struct ProfileSlowdown {
  int64_t start_cell = 0;
  double from_m = 0;
  double to_m = 0;
  double speed_kmh = 0;
};

// The permitted speed along the route, metre by metre, as stretches in running order from 0
// to `end_m`: the line speed of every cell, each slowdown over its extent, and the train's
// highest speed when one is set. A rise counts only once the whole train has passed the
// point where it rises. Every position in `cuts` (stops, stations) begins a stretch.
struct TrackProfile {
  std::vector<ProfileStretch> stretches;
  std::vector<ProfileSlowdown> slowdowns;
  double train_length_m = 0;
};

// `without_slowdown`: the index of one slowdown to leave out (what it costs is the difference).
TrackProfile track_profile(const std::vector<TrackCell>& cells, const std::array<SimRecord, kRecordCount>& records,
                           const TimingSettings& settings, double end_m, const std::vector<double>& cuts,
                           std::optional<size_t> without_slowdown = std::nullopt);

// The length of the train: its coaches and the locomotive.
double train_length_m(int coaches, const TimingSettings& settings);

}  // namespace scenario
