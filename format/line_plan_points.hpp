#pragma once

#include <cstdint>

#include "format/line_plan_reader.hpp"
#include "format/plan_bytes.hpp"
#include "model/line_plan.hpp"

namespace scenario {

// The computed points of a line plan file, metre by metre, in one pass (LinePlanReader):
// the integer starting points as (0, 0) and (0, 1), then the doubles; the empty elements
// behind them are read and checked, not returned.
class LinePlanPoints {
 public:
  // An empty file is a plan never dimensioned: no points.
  explicit LinePlanPoints(const PlanBytes& bytes) : reader_(bytes) {}

  // The next computed point; false once they end.
  bool next(PlanPoint& point);

  // The metre of the point last returned by next().
  int64_t metre() const { return metre_; }
  // How many metres were read, empty ones included: all of them once next() has said no.
  int64_t metres_read() const { return reader_.metres_read(); }

 private:
  LinePlanReader reader_;
  int64_t metre_ = -1;
};

// How many points a plan file holds computed (0 for no plan); checks the whole file.
int64_t computed_plan_points(const PlanBytes& bytes);

}  // namespace scenario
