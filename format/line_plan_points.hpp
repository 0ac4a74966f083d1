#pragma once

#include <cstdint>
#include <vector>

#include "format/line_plan_decoder.hpp"
#include "format/plan_bytes.hpp"
#include "model/line_plan.hpp"

namespace scenario {

// The computed points of a line plan file, metre by metre, in one pass: the integer
// starting points as (0, 0) and (0, 1), then the doubles, read a block at a time
// (LinePlanDecoder); the empty elements behind them are checked, not returned.
class LinePlanPoints {
 public:
  // An empty file is a plan never dimensioned: no points.
  explicit LinePlanPoints(const PlanBytes& bytes) : decoder_(bytes) {}

  // The next computed point; false once they end.
  bool next(PlanPoint& point) {
    if (at_ == filled_ && !refill()) return false;
    point = block_[at_++];
    ++metre_;
    return true;
  }

  // The metre of the point last returned by next().
  int64_t metre() const { return metre_; }
  // How many metres were read, empty ones included: all of them once next() has said no.
  int64_t metres_read() const { return ended_ ? decoder_.metres() : decoder_.metre(); }

 private:
  bool refill();

  LinePlanDecoder decoder_;
  std::vector<PlanPoint> block_;
  size_t at_ = 0;
  size_t filled_ = 0;
  int64_t metre_ = -1;
  bool ended_ = false;
};

// How many points a plan file holds computed (0 for no plan); checks the whole file.
int64_t computed_plan_points(const PlanBytes& bytes);

}  // namespace scenario
