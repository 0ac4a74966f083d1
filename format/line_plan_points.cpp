#include "format/line_plan_points.hpp"

namespace scenario {

LinePlanPoints::LinePlanPoints(std::string_view bytes)
    : bytes_(bytes), x_(bytes.substr(0, bytes.size() / 2)), y_(bytes) {
  if (bytes.size() % 2 != 0) {
    throw DecodeError(bytes.size(), std::to_string(bytes.size()) +
                                        " bytes: the x and y columns of a plan take the same number of bytes");
  }
  y_.text(bytes.size() / 2, "x column");  // the y cursor starts at the second half
}

PlanElement LinePlanPoints::read(ByteReader& column, const char* name) {
  column.enter(name, metre_);
  const size_t offset = column.offset();
  PlanElement e;
  const uint16_t tag = column.u16("tag");
  if (tag == PlanElement::kInt16) {
    e.tag = PlanElement::kInt16;
    e.integer = column.i16("integer");
  } else if (tag == PlanElement::kDouble) {
    e.tag = PlanElement::kDouble;
    e.real = column.f64("double");
  } else if (tag != PlanElement::kEmpty) {
    column.fail(offset, "unknown tag " + std::to_string(tag) +
                            ": a plan element is tagged 0 (empty), 2 (integer) or 5 (double)");
  }
  return e;
}

bool LinePlanPoints::next(PlanPoint& point) {
  while (!x_.at_end()) {
    const size_t y_offset = y_.offset();
    const PlanElement x = read(x_, "x, metre");
    const PlanElement y = read(y_, "y, metre");
    const int64_t metre = metre_++;
    if (x.tag != y.tag) {
      throw DecodeError(y_offset, "tag " + std::to_string(y.tag) + " where the x column has " +
                                      std::to_string(x.tag) + " (y, metre " + std::to_string(metre) + ")");
    }
    // Integers at metres 0 and 1, the points (0, 0) and (0, 1); doubles after them until
    // the first empty element; only empty elements behind it. A plan without starting
    // points is empty throughout.
    bool fits = false;
    if (x.tag == PlanElement::kEmpty) {
      fits = metre != 1 || ended_;
      ended_ = true;
    } else if (!ended_) {
      fits = metre < 2 ? x.tag == PlanElement::kInt16 && x.integer == 0 && y.integer == metre
                       : x.tag == PlanElement::kDouble;
    }
    if (!fits) {
      throw DecodeError(y_offset, "a plan holds its starting points (0, 0), (0, 1) as integers, then doubles, "
                                  "then empty elements (metre " + std::to_string(metre) + ")");
    }
    if (ended_) continue;
    point = x.tag == PlanElement::kInt16 ? PlanPoint{0.0, static_cast<double>(metre)} : PlanPoint{x.real, y.real};
    return true;
  }
  if (!y_.at_end()) throw DecodeError(y_.offset(), "the y column is longer than the x column");
  if (metre_ == 1 && !ended_) throw DecodeError(bytes_.size(), "the column ends after one starting point");
  return false;
}

int64_t computed_plan_points(std::string_view bytes) {
  LinePlanPoints points(bytes);
  PlanPoint p;
  int64_t count = 0;
  while (points.next(p)) ++count;
  return count;
}

}  // namespace scenario
