#include "compiler/track_bounds.hpp"

#include <string>

#include "compiler/fault_recording.hpp"
#include "model/fault_table.hpp"
#include "model/format_rules.hpp"

namespace scenario {

bool beyond_the_cells(CompileContext& context, int64_t position_m, int64_t margin_m) {
  const ScenarioModel& model = context.model;
  if (position_m + margin_m <= kCellLength_m * static_cast<int64_t>(model.last_cell)) {
    const int32_t route_length_m = kRouteLength.in(model.sim_records);
    if (position_m > route_length_m)
      report_warning(context, Warning::kPastRouteLength, "position " + std::to_string(position_m) + " m lies past the route length of " +
                                std::to_string(route_length_m) + " m");
    return false;
  }
  record_fault(context, Fault::kBeyondTrack, position_m);
  return true;
}

}  // namespace scenario
