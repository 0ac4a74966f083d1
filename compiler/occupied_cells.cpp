#include "compiler/occupied_cells.hpp"

#include <string>

#include "model/fault_record.hpp"

namespace scenario {

void note_cell_origin(ScenarioModel& model, int64_t c) {
  if (model.row_place) model.cell_origins.insert_or_assign(c, *model.row_place);
}

void record_occupied_cell_fault(ScenarioModel& model, Fault fault, int64_t position_m, int64_t c) {
  const std::string holds = "cell " + std::to_string(c) + " already holds ";
  const std::string kind = cell_kind_name(model.cell(c).kind);
  DiagnosticNote note{holds + "a feature: " + kind, std::nullopt};
  if (const auto origin = model.cell_origins.find(c); origin != model.cell_origins.end())
    note = DiagnosticNote{holds + "the " + kind + " of this row", origin->second};
  record_fault(model, fault, position_m, {std::move(note)});
}

}  // namespace scenario
