#pragma once

#include <cstdint>
#include <string_view>

#include "format/byte_reader.hpp"
#include "model/line_plan.hpp"

namespace scenario {

// Walks the computed points of a line plan file metre by metre, without building the plan:
// the x column fills the first half of the file and the y column, element for element of
// the same tags, the second, so one cursor reads each half. A layout no encoder writes
// raises DecodeError at its offset, as the whole-file decoder does.
class LinePlanPoints {
 public:
  // An empty file is a plan never dimensioned: no points.
  explicit LinePlanPoints(std::string_view bytes);

  // The next computed point (metres 0 and 1 are the integer starting points); false once
  // the computed points end. After false, the rest of both columns has been checked empty.
  bool next(PlanPoint& point);

  // The metre of the point last returned by next().
  int64_t metre() const { return metre_ - 1; }

 private:
  PlanElement read(ByteReader& column, const char* name);

  std::string_view bytes_;
  ByteReader x_;
  ByteReader y_;
  int64_t metre_ = 0;
  bool ended_ = false;
};

// How many points a plan file holds computed (0 for no plan), read in one pass.
int64_t computed_plan_points(std::string_view bytes);

}  // namespace scenario
