#pragma once

#include <cstdint>

#include "model/scenario_model.hpp"

namespace scenario {

// A type above this sets markers and is stored less this offset.
inline constexpr int32_t kMarkerTypeOffset = 10;
// A stretch starting at most this far after the previous one's end takes the follower type.
inline constexpr int32_t kCloseFollowerGap_m = 150;
inline constexpr int32_t kCloseFollowerType = 3;
// Markers stand on every fourth cell of a stretch, counted from its first.
inline constexpr int64_t kMarkerEvery = 4;

// Stores one mountain stretch from `inizio` to `fine` metres of type `tipo` (a type above
// 10 is type - 10 with a mountain marker on every fourth free cell of the stretch). A
// stretch that starts at most 150 m after the previous one's end gets type 3. Writes
// `mountain` of cells inizio / 50 to fine / 50 - 1 (both rounded). An 81st stretch, or a
// cell outside the track, is a RuntimeFailure; cells written before it stay.
void memo_montagna(ScenarioModel& model, int32_t inizio, int32_t fine, int32_t tipo);

}  // namespace scenario
