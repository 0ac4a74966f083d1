#include "format/line_plan_reader.hpp"

#include <span>
#include <string>
#include <utility>

#include "format/compiled_files_decoder.hpp"
#include "format/compiled_layouts.hpp"

namespace scenario {

namespace {

// The longest element of a plan file.
constexpr size_t kLongestElement = plan_element_bytes(PlanElement::kDouble);
// How much of a file a column reads at a time.
constexpr size_t kWindow = size_t{64} << 10;

}  // namespace

LinePlanReader::Column::Column(PlanBytes bytes, uint64_t begin, uint64_t end)
    : bytes_(std::move(bytes)), end_(end), reader_(std::string_view(), nullptr, begin) {
  if (!bytes_.in_memory()) buffer_.reset(new char[kWindow]);
  move_window();
}

void LinePlanReader::Column::move_window() {
  const uint64_t at = reader_.offset();
  const std::string_view window = bytes_.read(at, std::span(buffer_.get(), buffer_ ? kWindow : 0));
  reader_ = ByteReader(window.substr(0, static_cast<size_t>(end_ - at)), nullptr, at);
}

PlanElement LinePlanReader::Column::read(const char* name, int64_t metre) {
  if (buffer_ && reader_.remaining() < kLongestElement && reader_.offset() < end_) move_window();
  reader_.enter(name, metre);
  return read_plan_element(reader_);
}

LinePlanReader::LinePlanReader(const PlanBytes& bytes)
    : x_(bytes, 0, bytes.size() / 2), y_(bytes, bytes.size() / 2, bytes.size()) {
  if (bytes.size() % 2 != 0)
    throw DecodeError(bytes.size(), "an odd number of bytes: the x and y columns must have the same length");
}

LinePlanReader::Metre LinePlanReader::next() {
  Metre m;
  m.metre = metre_;
  const size_t y_offset = y_.offset();
  m.x = x_.read("x, metre", metre_);
  m.y = y_.read("y, metre", metre_);
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
