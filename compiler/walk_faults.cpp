#include "compiler/walk_faults.hpp"

#include <string>
#include <utility>

#include "compiler/fault_recording.hpp"
#include "compiler/occupied_cells.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

bool on_track(const ScenarioModel& model, int64_t c) {
  return model.cells_dimensioned() && c >= 0 && c <= model.last_cell;
}

// The signal a point was for, and the row that placed it.
DiagnosticNote signal_note(const CompileContext& context, int64_t s) {
  const std::string words =
      "the signal in cell " + std::to_string(s) + " needs a code reduction point in one of the two cells in front of it";
  if (const auto origin = context.cell_origins.find(s); origin != context.cell_origins.end())
    return DiagnosticNote{words + "; this row placed the signal", origin->second.row};
  return DiagnosticNote{words, std::nullopt};
}

std::vector<DiagnosticNote> notes_of(const CompileContext& context, const WalkFault& fault) {
  std::vector<DiagnosticNote> notes;
  if (fault.signal_cell) notes.push_back(signal_note(context, *fault.signal_cell));
  for (const int64_t c : fault.tried_cells) {
    if (on_track(context.model, c))
      notes.push_back(note_of_cell_holder(context, c, "already holds"));
    else
      notes.push_back(DiagnosticNote{"cell " + std::to_string(c) + " lies outside the track", std::nullopt});
  }
  return notes;
}

}  // namespace

void record_walk_faults(CompileContext& context, const std::vector<WalkFault>& faults) {
  for (const WalkFault& fault : faults) {
    std::vector<DiagnosticNote> notes = notes_of(context, fault);
    if (const auto origin = context.cell_origins.find(fault.rule_cell); origin != context.cell_origins.end())
      record_fault_of_row(context, fault.fault, origin->second.row, origin->second.position_m, std::move(notes),
                          static_cast<int32_t>(fault.fault_cell * kCellLength_m));
    else
      record_fault(context, fault.fault, fault.fault_cell * kCellLength_m, std::move(notes));
  }
}

}  // namespace scenario
