#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "format/plan_bytes.hpp"

#include "decompile/compiled_scenario.hpp"

namespace scenario {

// A curved stretch of the plan: metres first .. last each turned by the same curvature.
struct CurveRun {
  int64_t first = 0;
  int64_t last = 0;
  char digit = '1';   // the keyword digit of the curvature
  bool left = false;  // a left-hand curve, written "curvas"
};

// The curves of a line plan file, read in one pass: every computed metre is matched with the
// curvature (none, or one of the six of a curve row, either hand) that gives its point from
// the two before it, and the metres of one curvature form a run. A metre that no curvature
// gives is named in `remarks` and taken as straight. DecodeError when the file is damaged.
std::vector<CurveRun> recover_curves(const PlanBytes& plan_bytes, Remarks& remarks);

}  // namespace scenario
