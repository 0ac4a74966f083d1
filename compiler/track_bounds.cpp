#include "compiler/track_bounds.hpp"

#include <string>

#include "compiler/fault_recording.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"

namespace scenario {

std::optional<RowFault> beyond_the_cells(CompileContext& context, int64_t position_m, int64_t margin_m) {
  const ScenarioModel& model = context.model;
  if (position_m + margin_m <= kCellLength_m * static_cast<int64_t>(model.last_cell)) {
    const int32_t route_length_m = kRouteLength.in(model.sim_records);
    if (position_m > route_length_m)
      report_warning(context, Warning::kPastRouteLength, "position " + std::to_string(position_m) + " m lies past the route length of " +
                                std::to_string(route_length_m) + " m");
    return std::nullopt;
  }
  return RowFault{Fault::kBeyondTrack, position_m};
}

namespace {

// Both cell functions never go down as the position goes up, and 100 m below the first
// position of a cell lies two cells below it; the search is short.
template <typename CellOf>
int64_t lowest_position_reaching(int64_t cell, CellOf cell_of) {
  int64_t position_m = kCellLength_m * cell - 2 * kCellLength_m;
  while (cell_of(position_m) < cell) ++position_m;
  return position_m;
}

}  // namespace

int64_t lowest_position_in_cell(int64_t cell) { return lowest_position_reaching(cell, cell_of_position); }
int64_t lowest_position_after_cell(int64_t cell) { return lowest_position_reaching(cell, cell_after_position); }

RuntimeFailure before_route_start(std::string_view feature, int64_t position_m, std::string_view needed,
                                  std::string_view a_feature, int64_t lowest_m) {
  std::string lowest = std::to_string(lowest_m) + " m";
  // Off a cell boundary a position is moved (and warned of): the boundary is worth saying.
  const int64_t boundary_m = kCellLength_m * divide_round_half_even(lowest_m + kCellLength_m / 2, kCellLength_m);
  if (boundary_m != lowest_m) lowest += " (" + std::to_string(boundary_m) + " m on a 50 m cell boundary)";
  return RuntimeFailure(std::string(feature) + " at " + std::to_string(position_m) + " m: " + std::string(needed) +
                        " before the first track cell; the lowest position " + std::string(a_feature) +
                        " may take is " + lowest);
}

}  // namespace scenario
