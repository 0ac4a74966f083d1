#include "format/line_plan_points.hpp"

namespace scenario {

bool LinePlanPoints::next(PlanPoint& point) {
  while (!reader_.at_end()) {
    const LinePlanReader::Metre m = reader_.next();
    if (m.x.tag == PlanElement::kEmpty) continue;
    metre_ = m.metre;
    point = m.x.tag == PlanElement::kInt16 ? PlanPoint{static_cast<double>(m.x.integer), static_cast<double>(m.y.integer)}
                                           : PlanPoint{m.x.real, m.y.real};
    return true;
  }
  return false;
}

int64_t computed_plan_points(const PlanBytes& bytes) {
  LinePlanPoints points(bytes);
  PlanPoint p;
  int64_t count = 0;
  while (points.next(p)) ++count;
  return count;
}

}  // namespace scenario
