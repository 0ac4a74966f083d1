#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "decompile/compiled_scenario.hpp"
#include "decompile/slowdown_recovery.hpp"

namespace scenario {

// A code reduction row: the cell of its position and what the cell holds (kind 12 with its
// speed code, or kind 13).
struct CodeReductionRow {
  int64_t cell = 0;
  uint8_t kind = 0;
  int16_t value = 0;
  bool operator==(const CodeReductionRow&) const = default;
};

// The service source that compiles to the scenario's train and its run: the train's general
// rows from records 84 and 86, the line speed and adhesion fills, the stations of the
// records, the given slowdowns, the signals of the cells and those under station exits
// (`signals_under_exit`, as `signals_under_exits` tells them), and the given code reduction
// rows (which of the cells' points are the source's own takes a compile to tell). What
// cannot be written back is named in `remarks`.
std::string recover_service_source(const CompiledScenario& scenario, const RecoveredSlowdowns& slowdowns,
                                   const std::set<int64_t>& signals_under_exit,
                                   const std::vector<CodeReductionRow>& codes, Remarks& remarks);

}  // namespace scenario
