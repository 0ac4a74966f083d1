#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/compile_context.hpp"
#include "compiler/row_outcome.hpp"
#include "model/diagnostic.hpp"
#include "model/fault_table.hpp"
#include "model/runtime_failure.hpp"
#include "model/warning_table.hpp"

namespace scenario {

// Records a fault in the context (each one overwrites the last) and tells the sink. A fault
// recorded while a source row is being compiled ends the reading of that source there: the
// sink hears it at the row, with a note that says so after `notes`.
void record_fault(CompileContext& context, Fault fault);
void record_fault(CompileContext& context, Fault fault, int64_t position_m, std::vector<DiagnosticNote> notes = {},
                  std::optional<DiagnosticFix> fix = std::nullopt);
// Records the fault a row found, at the row being compiled.
void record_row_fault(CompileContext& context, RowFault fault);
// A fault found once a source has been read, caused by the row at `place`, which was
// written at `position_m` when the fault names a position; `recorded_m`, when given, is the
// position recorded with the fault instead.
void record_fault_of_row(CompileContext& context, Fault fault, const SourcePlace& place,
                         std::optional<int32_t> position_m = std::nullopt, std::vector<DiagnosticNote> notes = {},
                         std::optional<int32_t> recorded_m = std::nullopt);
// A run-time failure, fault 25: the sink hears what failed, at the failing field when a
// field caused it.
void record_runtime_failure(CompileContext& context, const RuntimeFailure& failure);

// Tells the sink of an error that is no fault: it changes nothing in the model, and fails
// the compile.
void report_error(const CompileContext& context, std::string message, std::optional<SourcePlace> place);

// Tells the sink of a warning: at `place`, or at the row being compiled when there is none.
// Warnings change nothing in the model.
void report_warning(const CompileContext& context, Warning warning, std::string message,
                    std::optional<SourcePlace> place = std::nullopt, std::optional<DiagnosticFix> fix = std::nullopt,
                    std::vector<DiagnosticNote> notes = {});

// The fault that already stands ends the reading at the row being compiled, whose position
// is now recorded with it.
void stop_reading_for_standing_fault(CompileContext& context, int32_t position_m);

}  // namespace scenario
