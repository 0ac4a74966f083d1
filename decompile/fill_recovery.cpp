#include "decompile/fill_recovery.hpp"

#include <algorithm>

namespace scenario {

std::vector<FillRow> recover_fill(const std::vector<TrackCell>& cells, uint8_t TrackCell::*field) {
  const auto value = [&](int64_t c) { return cells[static_cast<size_t>(c)].*field; };
  const int64_t last_cell = static_cast<int64_t>(cells.size()) - 1;
  // The end of reading writes from the fill's cursor up to last_cell − 3, at least once; the
  // cells behind the cursor's end stay 0.
  const int64_t completion_end = std::max<int64_t>(last_cell - 2, 1);
  int64_t written_end = completion_end;
  for (int64_t c = last_cell; c >= completion_end; --c) {
    if (value(c) != 0) {
      written_end = c + 1;
      break;
    }
  }

  std::vector<FillRow> rows{{0, value(0)}};
  for (int64_t c = 1; c < completion_end; ++c)
    if (value(c) != value(c - 1)) rows.push_back({c, value(c)});
  for (int64_t c = completion_end; c < written_end; ++c) rows.push_back({completion_end, value(c)});
  return rows;
}

}  // namespace scenario
