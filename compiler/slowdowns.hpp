#pragma once

#include <cstdint>

#include "schema/row_tables.hpp"
#include "schema/row_values.hpp"
#include "compiler/service_rows.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// The six numbers of a `rallentamento` row, in the row's order.
struct SlowdownRow {
  int32_t x = 0;     // start, metres
  int32_t v = 0;     // speed, km/h
  int32_t l = 0;     // length, metres
  int32_t f_tt = 0;  // stored in value3 of the start and end cells
  int32_t f_ta = 0;  // non-zero: four approach boards before the warning board
  int32_t d_v = 0;   // non-zero: a second value in value2
};

// Places a slowdown: end cell E (kind 2) and start cell S (kind 3) after their positions,
// and, when it starts beyond 1500 m, the warning board W (kind 4) 1200 m before it and, with
// f_ta, four approach boards (kind 5) in the cells before W. W, S and E are tested before
// anything is written (faults 17, 18, 19); the boards after (fault 20, W, S and E stay).
// A start or end cell outside the cells is a run-time failure before anything is written.
// Gives the fault it found, if any.
std::optional<RowFault> memo_rallentamento(CompileContext& context, const SlowdownRow& row);

// The values of a `rallentamento` and an `abbattimento` row, read as the row schema gives
// their fields.
using SlowdownValues = RowValues<rows::kSlowdownFields>;
using CodeReductionValues = RowValues<rows::kCodeReductionFields>;

// A `rallentamento` row: takes its six numbers, tests its bounds (fault 15, reading ends),
// places the slowdown and ends the source on any fault then standing.
RowOutcome read_slowdown_row(CompileContext& context, SlowdownValues& values);

// An `abbattimento` row: position and value. The cell of the position (without the
// added cell of signals and slowdowns) becomes a code reduction point: kind 12 with the
// value when it is above 0, else kind 13 with value1 untouched. An occupied cell is fault 7.
RowOutcome read_code_reduction_row(CompileContext& context, CodeReductionValues& values);

}  // namespace scenario
