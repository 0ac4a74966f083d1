#include "compiler/occupied_cells.hpp"

#include <string>

#include "compiler/fault_recording.hpp"

namespace scenario {

void note_cell_origin(CompileContext& context, int64_t c, int32_t position_m) {
  if (context.row_place) context.cell_origins.insert_or_assign(c, CellOrigin{*context.row_place, position_m});
}

DiagnosticNote note_of_cell_holder(const CompileContext& context, int64_t c, std::string_view holds) {
  const std::string said = "cell " + std::to_string(c) + " " + std::string(holds) + " ";
  const std::string kind = cell_kind_name(context.model.cell(c).kind);
  if (const auto origin = context.cell_origins.find(c); origin != context.cell_origins.end())
    return DiagnosticNote{said + "the " + kind + " of this row", origin->second.row};
  return DiagnosticNote{said + "a feature: " + kind, std::nullopt};
}

RowFault occupied_cell_fault(const CompileContext& context, Fault fault, int64_t position_m, int64_t c) {
  return RowFault{fault, position_m, {note_of_cell_holder(context, c, "already holds")}};
}

}  // namespace scenario
