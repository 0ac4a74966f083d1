#include "format/line_plan_reader.hpp"

#include <string>

#include "format/compiled_files_decoder.hpp"

namespace scenario {

LinePlanReader::LinePlanReader(std::string_view bytes)
    : x_(bytes.substr(0, bytes.size() / 2)), y_(bytes.substr(bytes.size() / 2)) {
  if (bytes.size() % 2 != 0)
    throw DecodeError(bytes.size(), "an odd number of bytes: the x and y columns must have the same length");
}

PlanElement LinePlanReader::read(ByteReader& column, const char* name) {
  column.enter(name, metre_);
  return read_plan_element(column);
}

LinePlanReader::Metre LinePlanReader::next() {
  Metre m;
  m.metre = metre_;
  const size_t y_offset = y_.offset();
  m.x = read(x_, "x, metre");
  m.y = read(y_, "y, metre");
  if (m.x.tag != m.y.tag) y_.fail(y_offset, "tag " + std::to_string(m.y.tag) + " where the x column has " +
                                                std::to_string(m.x.tag));
  if (metre_ == 0) has_start_ = m.x.tag == PlanElement::kInt16;
  PlanElement::Tag expected = PlanElement::kEmpty;
  if (metre_ < 2)
    expected = has_start_ ? PlanElement::kInt16 : PlanElement::kEmpty;
  else if (has_start_ && !ended_)
    expected = m.x.tag == PlanElement::kEmpty ? PlanElement::kEmpty : PlanElement::kDouble;
  if (m.x.tag != expected)
    x_.fail(x_.offset(), "tag " + std::to_string(m.x.tag) + " where the layout allows " + std::to_string(expected));
  if (m.x.tag == PlanElement::kInt16 && PlanPoint{static_cast<double>(m.x.integer), static_cast<double>(m.y.integer)} !=
                                           kPlanStartingPoints[metre_])
    x_.fail(x_.offset(), "a starting point other than (0, 0), (0, 1)");
  if (metre_ >= 2 && m.x.tag == PlanElement::kEmpty) ended_ = true;
  ++metre_;
  if (x_.at_end() != y_.at_end()) x_.fail(x_.offset(), "the x and y columns end apart");
  if (x_.at_end() && has_start_ && metre_ < 2) x_.fail(x_.offset(), "the column ends after one starting point");
  return m;
}

}  // namespace scenario
