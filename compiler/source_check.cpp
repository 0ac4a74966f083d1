#include "compiler/source_check.hpp"

#include <string>

#include "compiler/general_section_rows.hpp"
#include "compiler/service_source_reader.hpp"
#include "compiler/source_encoding.hpp"
#include "format/compiled_files.hpp"
#include "compiler/fault_recording.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {
namespace {

// Tells the compile's sink of what the checking finds, each with the note, and records
// nothing: a fault found is told as an error that counts for nothing.
class CheckingSink : public FaultSink {
 public:
  CheckingSink(FaultSink& sink, DiagnosticNote note) : sink_(sink), note_(std::move(note)) {}

  void on_fault(const RecordedFault& fault) override { on_diagnostic(diagnostic_of_fault(fault)); }
  void on_diagnostic(const Diagnostic& diagnostic) override {
    Diagnostic noted = diagnostic;
    noted.notes.push_back(note_);
    sink_.on_diagnostic(noted);
  }
  void on_error(const Diagnostic& error) override { on_diagnostic(error); }
  void on_reading_stopped(const Diagnostic& warning) override { on_diagnostic(warning); }

 private:
  FaultSink& sink_;
  DiagnosticNote note_;
};

// The model the service source is checked against: the line source's cells and records as
// far as it was read, without the line plan, which the service source never touches; a
// route of `route_m` when the line source gave none.
ScenarioModel scratch_of(const ScenarioModel& model, int32_t route_m) {
  ScenarioModel scratch;
  scratch.scenario_name = model.scenario_name;
  scratch.scenario_number = model.scenario_number;
  scratch.route_extent_m = model.route_extent_m;
  scratch.last_cell = model.last_cell;
  scratch.mountain_count = model.mountain_count;
  scratch.mountain_start = model.mountain_start;
  scratch.mountain_end = model.mountain_end;
  scratch.cells = model.cells;
  scratch.sim_records = model.sim_records;
  if (!scratch.cells_dimensioned()) {
    kRouteLength.in(scratch.sim_records) = route_m;
    scratch.route_extent_m = static_cast<int32_t>(route_m + kRouteExtension_m);
    scratch.dimension_cells(static_cast<int32_t>(cell_of_position(scratch.route_extent_m)));
  }
  // The kilometre posts belong to the line source: they are not checked again here.
  for (const int slot : kKilometrePostSlots) scratch.record(slot) = SimRecord{};
  return scratch;
}

}  // namespace

void check_unread_service_source(const CompileContext& context, SourceFile& service_source, int32_t stopped_fault) {
  const ScenarioModel& model = context.model;
  if (context.fault_sink == nullptr || !service_source.exists()) return;
  const std::string route =
      model.cells_dimensioned() ? "" : ", against a route of " + std::to_string(context.unread_check_route_m) + " m";
  CheckingSink sink(*context.fault_sink,
                    DiagnosticNote{"the compile had stopped at fault " + std::to_string(stopped_fault) +
                                       " in the line source: the service source was only checked" + route +
                                       ", not compiled",
                                   std::nullopt});
  ScenarioModel scratch = scratch_of(model, context.unread_check_route_m);
  CompileContext scratch_context(scratch, &sink);
  scratch_context.cell_origins = context.cell_origins;
  // Read from a copy in memory: the check leaves the source file as it finds it. The copy
  // outlives the catches, whose failure points into its name and lines.
  SourceFile checked = SourceFile::in_memory(service_source.name(), std::string(service_source.contents()));
  try {
    read_service_source(scratch_context, checked, kFirstBoardTextSlot);
  } catch (const RuntimeFailure& failure) {
    record_runtime_failure(scratch_context, failure);
  } catch (const SourceEncodingError& e) {
    sink.on_diagnostic(e.diagnostic());
  }
}

}  // namespace scenario
