#pragma once

#include <cstdint>

#include "schema/row_tables.hpp"
#include "schema/row_values.hpp"
#include "compiler/service_rows.hpp"
#include "compiler/compile_context.hpp"

namespace scenario {

// The eleven numbers of a `segnale` row, in the row's order.
struct SignalRow {
  int32_t posizione = 0;
  int32_t sx = 0;
  int32_t s1 = 0;
  int32_t s2 = 0;
  int32_t s3 = 0;
  int32_t rapp = 0;
  int32_t dx = 0;
  int32_t d1 = 0;
  int32_t d2 = 0;
  int32_t d3 = 0;
  int32_t tempo = 0;
};

// Places a signal in the cell after its position: kind 1 with its packed values (low 16
// bits of each exact result), signal_time from the adjusted `tempo` when sx is 2 (a tempo
// from 1 to 100 becomes 101; low 8 bits), and the approach codes (sx × 3 + dx) × 10 + k in
// the cells 2k before it. A cell that holds anything but a mountain marker is refused with
// fault 16 and nothing is written. `tempo` is adjusted in place. An approach cell below
// cell 0 is a run-time failure after the cells before it were written. Gives the fault it
// found, if any.
std::optional<RowFault> memo_segnale(CompileContext& context, SignalRow& row);

// The values of a `segnale` row, read as the row schema gives its fields.
using SignalValues = RowValues<rows::kSignalFields>;

// A `segnale` row: takes its eleven numbers, tests its bounds (fault 15, reading ends),
// places the signal and ends the source on any fault then standing.
RowOutcome read_signal_row(CompileContext& context, SignalValues& values);

}  // namespace scenario
