#pragma once

#include "model/fault_table.hpp"

namespace scenario {

// A list of causes as the fault and warning tables need it: a first cause, and each cause
// with its fix.
constexpr bool causes_told(const std::array<FaultCause, kMostCauses>& causes) {
  if (causes[0].cause.empty()) return false;
  for (const FaultCause& cause : causes)
    if (cause.cause.empty() != cause.fix.empty()) return false;
  return true;
}

}  // namespace scenario
