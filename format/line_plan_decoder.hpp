#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "format/plan_bytes.hpp"
#include "model/line_plan.hpp"

namespace scenario {

// Reads the computed points of a line plan file a block at a time, at the speed of its
// bytes. The layout the encoder writes is fixed: per column, the two integer starting points
// or nothing, then doubles at one stride, then empty elements, which are zero bytes. So
// each block of doubles is read straight from both columns at that stride, its tags checked
// as it goes, and the empty tail is checked as zero bytes. A file that breaks the layout
// anywhere is read again by LinePlanReader, which throws its DecodeError at the first fault
// in file order: the messages are the element reader's, whichever reader met the fault.
class LinePlanDecoder {
 public:
  explicit LinePlanDecoder(const PlanBytes& bytes);
  ~LinePlanDecoder();
  LinePlanDecoder(const LinePlanDecoder&) = delete;
  LinePlanDecoder& operator=(const LinePlanDecoder&) = delete;

  // Fills `out` from the front with the next computed points, the starting points (0, 0)
  // and (0, 1) first; returns how many, 0 once they end, when the whole file has been
  // checked. DecodeError when the file breaks the layout.
  size_t next(std::span<PlanPoint> out);

  // Moves to the point of `metre`, ahead or back among the doubles (the starting points
  // only ahead): a caller that wants parts of the plan reads only those. The elements
  // passed over are not checked: the file was checked whole before (line_plan_extent), and
  // a block that breaks the layout is still met by next().
  void seek(int64_t metre);

  // The metre of the next point: how many points next() has given.
  int64_t metre() const { return metre_; }
  // The metres of each column, empty ones included: known once next() has said no.
  int64_t metres() const { return metres_; }

 private:
  class Column;
  enum class Stage { kStart, kDoubles, kEnded };

  void read_start();
  // Checks that both columns hold only empty elements from `offset` to their end.
  void finish_at(uint64_t offset);
  // Reads the file again through LinePlanReader, which throws where it breaks the layout.
  [[noreturn]] void fail() const;

  PlanBytes bytes_;
  uint64_t column_bytes_ = 0;
  std::unique_ptr<Column> x_;
  std::unique_ptr<Column> y_;
  Stage stage_ = Stage::kStart;
  int64_t metre_ = 0;
  int64_t metres_ = 0;
};

// Where the element of computed point `metre` starts in each column of a plan with its
// starting points, for comparing the bytes of two plans point by point.
uint64_t plan_point_offset(int64_t metre);

// How many points a well-formed plan file holds computed, found from a few of its tags: the
// end of the doubles is sought by halves. A damaged file may give any count; it is refused
// when it is read whole (LinePlanDecoder), for a reader that reads it whole anyway.
int64_t probed_computed_points(const PlanBytes& bytes);

// How many points a plan file holds computed (0 for no plan) and how many metres its columns
// have, the whole file checked.
struct LinePlanExtent {
  int64_t computed_points = 0;
  int64_t metres = 0;
};
LinePlanExtent line_plan_extent(const PlanBytes& bytes);

}  // namespace scenario
