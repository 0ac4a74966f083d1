#include "compiler/occupied_cells.hpp"

#include <string>

#include "compiler/fault_recording.hpp"

namespace scenario {

void note_cell_origin(CompileContext& context, int64_t c, int32_t position_m) {
  if (context.row_place) context.cell_origins.insert_or_assign(c, CellOrigin{*context.row_place, position_m});
}

DiagnosticNote occupied_cell_note(const CompileContext& context, int64_t c) {
  const std::string holds = "cell " + std::to_string(c) + " already holds ";
  const std::string kind = cell_kind_name(context.model.cell(c).kind);
  if (const auto origin = context.cell_origins.find(c); origin != context.cell_origins.end())
    return DiagnosticNote{holds + "the " + kind + " of this row", origin->second.row};
  return DiagnosticNote{holds + "a feature: " + kind, std::nullopt};
}

void record_occupied_cell_fault(CompileContext& context, Fault fault, int64_t position_m, int64_t c) {
  record_fault(context, fault, position_m, {occupied_cell_note(context, c)});
}

}  // namespace scenario
