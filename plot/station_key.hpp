#pragma once

#include <map>

#include "model/sim_record.hpp"
#include "plot/svg_canvas.hpp"
#include "reading/track_reading.hpp"

namespace scenario {

// The stations shown by their number only (or not named at all) in the plan or the profile,
// for the key under the profile: "3 GAMMA" each, in running order.
class StationKey {
 public:
  void add(const Station& station) { slots_[station.slot] = station.record; }
  bool empty() const { return slots_.empty(); }

  // Draws the key in lines `width` wide from (left, baseline); returns the baseline after
  // its last line.
  double draw(SvgCanvas& svg, double left, double width, double baseline) const;

 private:
  std::map<int, const SimRecord*> slots_;
};

}  // namespace scenario
