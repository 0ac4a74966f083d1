#pragma once

#include <cstdint>

#include "model/scenario_model.hpp"

namespace scenario {

// Stores one mountain stretch from `inizio` to `fine` metres of type `tipo` (a type above
// 10 is type - 10 with a mountain marker on every fourth free cell of the stretch). A
// stretch that starts at most 150 m after the previous one's end gets type 3. Writes
// `mountain` of cells inizio / 50 to fine / 50 - 1 (both rounded). An 81st stretch, or a
// cell outside the track, is a RuntimeFailure; cells written before it stay.
void memo_montagna(ScenarioModel& model, int32_t inizio, int32_t fine, int32_t tipo);

}  // namespace scenario
