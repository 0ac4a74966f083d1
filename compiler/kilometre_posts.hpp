#pragma once

#include "model/scenario_model.hpp"

namespace scenario {

// Puts the three kilometre-post changes of slots 81 to 83 in order: the change with the
// greatest position in slot 81, the smallest in slot 83 (by offset when the positions add
// up to 0), then adds 100 to the offset of every change whose direction is 1. Changes are
// dropped (all three slots zero) when no single position is the greatest. Raises
// RuntimeFailure when the sum of the positions or a corrected offset overflows 32 bits.
void progressive_ordina(ScenarioModel& model);

}  // namespace scenario
