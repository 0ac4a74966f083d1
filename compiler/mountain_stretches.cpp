#include "compiler/mountain_stretches.hpp"

#include "schema/row_values.hpp"
#include "compiler/track_bounds.hpp"
#include "model/rounding.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {

void memo_montagna(ScenarioModel& model, int32_t inizio, int32_t fine, int32_t tipo) {
  bool markers = false;
  if (tipo > kMarkerTypeOffset) {
    tipo -= kMarkerTypeOffset;
    markers = true;
  }

  const int32_t number = model.mountain_count + 1;
  if (number >= static_cast<int32_t>(model.mountain_start.size()))
    throw RuntimeFailure("more than 80 mountain stretches");
  model.mountain_count = number;
  model.mountain_start_at(number) = inizio;
  model.mountain_end_at(number) = fine;

  if (number > 1 && int64_t{inizio} - model.mountain_end_at(number - 1) <= kCloseFollowerGap_m) tipo = kCloseFollowerType;

  const int64_t first = cell_of_position(inizio);
  const int64_t last = divide_round_half_even(int64_t{fine} - kCellLength_m, kCellLength_m);  // fine / 50 - 1, rounded
  for (int64_t c = first; c <= last; ++c) {
    if (c < 0)
      throw before_route_start("mountain stretch", inizio, "its first cell lies", "a mountain stretch",
                               lowest_position_in_cell(0));
    TrackCell& cell = model.cell(c);
    cell.mountain = low8(tipo);
    if (markers && (c - first + 1) % kMarkerEvery == 0 && cell.kind == kFreeCell)
      cell.kind = RowValues<rows::kMountainFields>::cell_kind(kMountainMarker);
  }
}

}  // namespace scenario
