#pragma once

#include <cstdint>
#include <vector>

namespace scenario {

// One element of the line plan as the plan file carries it: empty, a 16-bit integer or a
// double (tags 0, 2 and 5 of the file).
struct PlanElement {
  enum Tag : uint16_t { kEmpty = 0, kInt16 = 2, kDouble = 5 };
  Tag tag = kEmpty;
  int16_t integer = 0;
  double real = 0.0;
  bool operator==(const PlanElement&) const = default;
};

struct PlanPoint {
  double x = 0.0;
  double y = 0.0;
};

// The plan coordinates of the track metre by metre, metres 0 to extent_m. Only what was
// computed is stored: the two starting points (integers) and the doubles from metre 2 up
// to the plan cursor; every other element is empty, so the tags follow from the index.
class LinePlan {
 public:
  LinePlan() = default;
  explicit LinePlan(int32_t extent_m);

  bool dimensioned() const { return extent_m_ >= 0; }
  int32_t extent_m() const { return extent_m_; }

  // Metres 0 and 1 become the integer points (0, 0) and (0, 1).
  void set_starting_points();
  bool has_starting_points() const { return has_start_; }

  // The first metre not computed yet (2 once the starting points stand).
  int32_t computed_end() const { return static_cast<int32_t>(2 + xs_.size()); }

  // Stores the point of metre computed_end(); a metre past extent_m is a run-time failure.
  void append_point(double x, double y);

  // A computed point (metres 0 and 1 included); any other metre is a run-time failure.
  PlanPoint point(int64_t metre) const;

  // Element (metre, axis) with its tag; axis 0 is x, 1 is y. Checked.
  PlanElement element(int64_t metre, int axis) const;

 private:
  int32_t extent_m_ = -1;
  bool has_start_ = false;
  std::vector<double> xs_;  // metres 2 .. computed_end() - 1
  std::vector<double> ys_;
};

}  // namespace scenario
