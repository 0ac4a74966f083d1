#include "format/compiled_files.hpp"

#include <algorithm>
#include <bit>

#include "format/byte_writer.hpp"
#include "model/bit_cast.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {

void encode_track_cells(const ScenarioModel& model, ByteSink& out) {
  out.expect_end(out.offset() + model.cells.size() * kTrackCellBytes);
  ByteWriter w(out);
  for (const TrackCell& c : model.cells) write_record(w, c, kTrackCellLayout);
}

void check_records_encodable(const ScenarioModel& model) {
  for (const SimRecord& r : model.sim_records) check_record_text(r.text);
}

void encode_records(const ScenarioModel& model, ByteSink& out) {
  uint64_t bytes = 0;
  for (const SimRecord& r : model.sim_records) bytes += kRecordFixedBytes + r.text.size();
  out.expect_end(out.offset() + bytes);
  ByteWriter w(out);
  for (const SimRecord& r : model.sim_records) write_record(w, r, kSimRecordLayout);
}

namespace {

constexpr size_t kDoubleBytes = plan_element_bytes(PlanElement::kDouble);

void store_double_element(char* at, double value) {
  store_little_endian<kPlanTagBytes>(at, PlanElement::kDouble);
  store_little_endian<8>(at + kPlanTagBytes, bit_cast<uint64_t>(value));
}

// Writes tagged plan elements to one column's sink.
class PlanColumnWriter {
 public:
  explicit PlanColumnWriter(ByteSink& out) : out_(out) {}

  void integer(int16_t value) {
    char* at = out_.claim(plan_element_bytes(PlanElement::kInt16));
    store_little_endian<kPlanTagBytes>(at, PlanElement::kInt16);
    store_little_endian<2>(at + kPlanTagBytes, static_cast<uint16_t>(value));
  }
  void empties(uint64_t count) {
    for (uint64_t i = 0; i < count; ++i) store_little_endian<kPlanTagBytes>(out_.claim(kPlanTagBytes), PlanElement::kEmpty);
  }

 private:
  ByteSink& out_;
};

// How many elements of each kind a column of the plan holds. The plan's bounds follow from
// its runs: nothing is computed to know them.
struct PlanColumnShape {
  uint64_t starts = 0;
  uint64_t doubles = 0;
  uint64_t empties = 0;
};

PlanColumnShape column_shape(const LinePlan& plan) {
  const auto elements = static_cast<uint64_t>(plan.extent_m()) + 1;
  const uint64_t starts = plan.has_starting_points() ? 2 : 0;
  const uint64_t doubles = PlanPointGenerator(plan).remaining();
  if (starts + doubles > elements) throw RuntimeFailure("line plan computed past its extent");
  return {starts, doubles, elements - starts - doubles};
}

}  // namespace

void check_line_plan_encodable(const LinePlan& plan) {
  if (plan.dimensioned()) column_shape(plan);
}

void encode_line_plan(const LinePlan& plan, ByteSink& out) {
  if (!plan.dimensioned()) return;
  const auto [starts, doubles, empties] = column_shape(plan);
  PlanPointGenerator points(plan);
  const uint64_t column_bytes = starts * plan_element_bytes(PlanElement::kInt16) +
                                doubles * plan_element_bytes(PlanElement::kDouble) +
                                empties * plan_element_bytes(PlanElement::kEmpty);
  // The y column is written beside the x column as the points are made, in one pass over
  // the plan: both columns have the same layout, so the y column starts right after x.
  out.expect_end(out.offset() + 2 * column_bytes);
  ByteSink y_sink = out.part_at(out.offset() + column_bytes);
  PlanColumnWriter x(out);
  PlanColumnWriter y(y_sink);
  if (starts != 0) {
    for (const PlanPoint& p : kPlanStartingPoints) {
      x.integer(static_cast<int16_t>(p.x));
      y.integer(static_cast<int16_t>(p.y));
    }
  }
  // The points are made straight into both columns, a block of each claimed at once.
  constexpr uint64_t kBlock = 4096;
  static_assert(kBlock * kDoubleBytes <= ByteSink::kSmallChunk);
  for (uint64_t left = doubles; left > 0;) {
    const uint64_t count = std::min(left, kBlock);
    char* x_at = out.claim(count * kDoubleBytes);
    char* y_at = y_sink.claim(count * kDoubleBytes);
    points.make(count, [&x_at, &y_at](const PlanPoint& p) {
      store_double_element(x_at, p.x);
      store_double_element(y_at, p.y);
      x_at += kDoubleBytes;
      y_at += kDoubleBytes;
    });
    left -= count;
  }
  x.empties(empties);
  y.empties(empties);
  y_sink.flush();
  out.skip(column_bytes);
}

void encode_track_cells(const ScenarioModel& model, std::string& out) {
  encode_into_string(out, [&](ByteSink& sink) { encode_track_cells(model, sink); });
}
void encode_records(const ScenarioModel& model, std::string& out) {
  encode_into_string(out, [&](ByteSink& sink) { encode_records(model, sink); });
}
void encode_line_plan(const LinePlan& plan, std::string& out) {
  encode_into_string(out, [&](ByteSink& sink) { encode_line_plan(plan, sink); });
}

}  // namespace scenario
