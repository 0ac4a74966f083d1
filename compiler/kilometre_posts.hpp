#pragma once

#include <cstdint>
#include <optional>

#include "model/scenario_model.hpp"
#include "model/format_rules.hpp"

namespace scenario {

// Puts the three kilometre-post changes of slots 81 to 83 in order: the change with the
// greatest position in slot 81, the smallest in slot 83 (by offset when the positions add
// up to 0), then adds 100 to the offset of every change whose direction is 1. Changes are
// dropped (all three slots zero) when no single position is the greatest. The ordering
// cannot fail; a corrected offset that does not fit 32 bits is a RuntimeFailure, raised
// with the ordered changes already in their slots.
void progressive_ordina(ScenarioModel& model);

// Before progressive_ordina: the greatest position of the three changes when two or more
// share it, so that ordering drops them all; none otherwise (positions adding up to 0 are
// ordered by offset, and nothing is dropped).
std::optional<int32_t> shared_greatest_position(const ScenarioModel& model);

}  // namespace scenario
