#pragma once

#include <cstdint>
#include <string_view>

#include "format/byte_reader.hpp"
#include "model/line_plan.hpp"

namespace scenario {

// Reads a line plan file in one pass, metre by metre, with the x and the y of each metre
// together. The two columns of a plan file have the same layout, so each is exactly half of
// the file: one reader walks each half, and nothing of the route's size is held.
class LinePlanReader {
 public:
  struct Metre {
    int64_t metre = 0;
    PlanElement x;
    PlanElement y;
  };

  // DecodeError when the file cannot hold two columns of the same length.
  explicit LinePlanReader(std::string_view bytes);

  bool at_end() const { return x_.at_end(); }
  // The next metre; DecodeError when it breaks the layout the encoder writes (the starting
  // points (0, 0) and (0, 1) or nothing, then doubles, then empty elements, the same tags
  // in both columns) or when the columns end apart.
  Metre next();

 private:
  PlanElement read(ByteReader& column, const char* name);

  ByteReader x_;
  ByteReader y_;
  int64_t metre_ = 0;
  bool has_start_ = false;
  bool ended_ = false;  // an empty element after the starting points: only empties follow
};

}  // namespace scenario
