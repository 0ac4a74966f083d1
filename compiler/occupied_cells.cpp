#include "compiler/occupied_cells.hpp"

#include <string>

#include "model/fault_record.hpp"

namespace scenario {

void note_cell_origin(ScenarioModel& model, int64_t c) {
  if (model.row_place) model.cell_origins.insert_or_assign(c, *model.row_place);
}

DiagnosticNote note_of_cell_holder(const ScenarioModel& model, int64_t c, std::string_view holds) {
  const std::string said = "cell " + std::to_string(c) + " " + std::string(holds) + " ";
  const std::string kind = cell_kind_name(model.cell(c).kind);
  if (const auto origin = model.cell_origins.find(c); origin != model.cell_origins.end())
    return DiagnosticNote{said + "the " + kind + " of this row", origin->second};
  return DiagnosticNote{said + "a feature: " + kind, std::nullopt};
}

void record_occupied_cell_fault(ScenarioModel& model, Fault fault, int64_t position_m, int64_t c) {
  record_fault(model, fault, position_m, {note_of_cell_holder(model, c, "already holds")});
}

}  // namespace scenario
