#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/line_plan.hpp"
#include "model/sim_record.hpp"
#include "model/track_cell.hpp"

namespace scenario {

// All the state of one build: the track cells, the 87 records, the line plan and the
// scalars around them. Element access goes through the checked accessors, which raise a
// RuntimeFailure instead of touching memory outside an array.
struct ScenarioModel {
  std::string scenario_name;
  std::string scenario_number;
  int32_t plan_mode = 0;
  int32_t route_extent_m = 0;
  int32_t last_cell = 0;
  int32_t mountain_count = 0;
  std::array<int32_t, 81> mountain_start{};
  std::array<int32_t, 81> mountain_end{};

  std::vector<TrackCell> cells;  // 0 .. last_cell once dimensioned; empty before
  std::array<SimRecord, kRecordCount> sim_records{};
  LinePlan line_plan;  // dimensioned only when plan_mode is non-zero

  bool cells_dimensioned() const { return !cells.empty(); }

  TrackCell& cell(int64_t index);
  const TrackCell& cell(int64_t index) const;
  SimRecord& record(int64_t slot);
  const SimRecord& record(int64_t slot) const;
  int32_t& mountain_start_at(int64_t index);
  int32_t& mountain_end_at(int64_t index);

  // Cells 0 .. last_cell, all zero; earlier contents are discarded.
  void dimension_cells(int32_t last_cell_index);
  // Every record's numbers to 0 and its text to empty.
  void reset_records();
};

}  // namespace scenario
