#include "model/scenario_model.hpp"

#include "model/runtime_failure.hpp"

namespace scenario {
namespace {

template <typename Container>
auto& checked_element(Container& container, int64_t index, const char* what) {
  if (index < 0 || static_cast<uint64_t>(index) >= container.size()) throw RuntimeFailure(what);
  return container[static_cast<size_t>(index)];
}

}  // namespace

TrackCell& ScenarioModel::cell(int64_t index) { return checked_element(cells, index, "track cell index out of range"); }
const TrackCell& ScenarioModel::cell(int64_t index) const {
  return checked_element(cells, index, "track cell index out of range");
}
SimRecord& ScenarioModel::record(int64_t slot) { return checked_element(sim_records, slot, "record slot out of range"); }
const SimRecord& ScenarioModel::record(int64_t slot) const {
  return checked_element(sim_records, slot, "record slot out of range");
}
int32_t& ScenarioModel::mountain_start_at(int64_t index) {
  return checked_element(mountain_start, index, "mountain stretch index out of range");
}
int32_t& ScenarioModel::mountain_end_at(int64_t index) {
  return checked_element(mountain_end, index, "mountain stretch index out of range");
}

void ScenarioModel::dimension_cells(int32_t last_cell_index) {
  if (last_cell_index < 0) throw RuntimeFailure("route too short for any track cell");
  cells.assign(static_cast<size_t>(last_cell_index) + 1, TrackCell{});
  last_cell = last_cell_index;
}

void ScenarioModel::reset_records() {
  for (auto& record : sim_records) record = SimRecord{};
}

}  // namespace scenario
