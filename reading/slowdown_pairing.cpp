#include "reading/slowdown_pairing.hpp"

#include <algorithm>
#include <cstddef>
#include <unordered_map>

namespace scenario {

using std::size_t;
namespace {

// The three values a row writes alike into its start and its end.
uint64_t values_key(const TrackCell& cell) {
  const auto bits = [](int16_t v) { return uint64_t{static_cast<uint16_t>(v)}; };
  return bits(cell.value1) << 32 | bits(cell.value2) << 16 | bits(cell.value3);
}

}  // namespace

SlowdownPairing pair_slowdowns(const std::vector<TrackCell>& cells) {
  SlowdownPairing pairing;
  // As many as there are starts, and no more: a start in every cell is a slowdown per cell.
  pairing.slowdowns.reserve(static_cast<size_t>(
      std::count_if(cells.begin(), cells.end(), [](const TrackCell& c) { return c.kind == kSlowdownStart; })));
  std::vector<int64_t> ends;     // every end cell, in running order
  std::vector<bool> claimed;     // by ends' index
  struct Open {
    std::vector<size_t> starts;  // indices into pairing.slowdowns, a stack: the nearest last
    std::vector<size_t> ends;    // indices into `ends` with no open start before them
  };
  std::unordered_map<uint64_t, Open> open;
  for (size_t i = 0; i < cells.size(); ++i) {
    const TrackCell& cell = cells[i];
    if (cell.kind != kSlowdownStart && cell.kind != kSlowdownEnd) continue;
    Open& same = open[values_key(cell)];
    const auto c = static_cast<int64_t>(i);
    if (cell.kind == kSlowdownStart) {
      same.starts.push_back(pairing.slowdowns.size());
      pairing.slowdowns.push_back({c, c});
      continue;
    }
    claimed.push_back(!same.starts.empty());
    ends.push_back(c);
    if (same.starts.empty()) {
      same.ends.push_back(ends.size() - 1);
    } else {
      pairing.slowdowns[same.starts.back()].end_cell = c;
      same.starts.pop_back();
    }
  }
  // What is left of each values: ends, each before the starts left open after it (a start
  // left open has no free end after it). A start takes the nearest free end before it.
  for (auto& [key, same] : open) {
    std::vector<size_t> ends_before;  // a stack over the merged running order
    size_t e = 0;
    for (const size_t s : same.starts) {
      SlowdownCells& slowdown = pairing.slowdowns[s];
      while (e < same.ends.size() && ends[same.ends[e]] < slowdown.start_cell) ends_before.push_back(same.ends[e++]);
      if (ends_before.empty()) continue;
      slowdown.end_cell = ends[ends_before.back()];
      claimed[ends_before.back()] = true;
      ends_before.pop_back();
    }
  }
  for (size_t e = 0; e < ends.size(); ++e)
    if (!claimed[e]) pairing.lone_ends.push_back(ends[e]);
  return pairing;
}

}  // namespace scenario
