#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "model/diagnostic.hpp"
#include "model/fault_table.hpp"

namespace scenario {

// A fault a row found, not yet recorded: the reader records it at the row, with the
// position the row names when the fault records one.
struct RowFault {
  Fault fault;
  std::optional<int64_t> position_m = std::nullopt;
  std::vector<DiagnosticNote> notes = {};
  std::optional<DiagnosticFix> fix = std::nullopt;
};

// How a row leaves the reading of its source: what the reader does next, and the fault the
// row found, if any.
struct RowOutcome {
  enum class Next {
    kNextRow,     // go on with the next keyword field
    kEndReading,  // fault 15: the reading ends as if the source ended here; its end-of-reading steps follow
    kStop,        // another fault: the source is dropped and the compile returns at once
  };
  Next next = Next::kNextRow;
  std::optional<RowFault> fault = std::nullopt;

  static RowOutcome next_row() { return {}; }
  static RowOutcome end_reading(RowFault fault) { return {Next::kEndReading, std::move(fault)}; }
  static RowOutcome stop(RowFault fault) { return {Next::kStop, std::move(fault)}; }
  // The row found no fault of its own, but one recorded earlier still stands and stops the
  // reading here.
  static RowOutcome stop_for_standing_fault() { return {Next::kStop, std::nullopt}; }

  bool goes_on() const { return next == Next::kNextRow; }
};

}  // namespace scenario
