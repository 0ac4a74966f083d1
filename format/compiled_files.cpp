#include "format/compiled_files.hpp"

#include <algorithm>
#include <bit>

#include "format/byte_writer.hpp"

namespace scenario {

void encode_track_cells(const ScenarioModel& model, ByteSink& out) {
  ByteWriter w(out);
  for (const TrackCell& c : model.cells) write_record(w, c, kTrackCellLayout);
}

void encode_records(const ScenarioModel& model, ByteSink& out) {
  ByteWriter w(out);
  for (const SimRecord& r : model.sim_records) write_record(w, r, kSimRecordLayout);
}

namespace {

// Writes `count` elements of `size` bytes each, claiming room for many at a time: the plan
// holds up to two million of them.
template <typename WriteOne>
void write_elements(ByteSink& out, size_t count, size_t size, WriteOne write_one) {
  const size_t per_claim = ByteSink::kChunk / size;
  for (size_t done = 0; done < count;) {
    const size_t n = std::min(count - done, per_claim);
    char* at = out.claim(n * size);
    for (size_t i = 0; i < n; ++i, at += size) write_one(at, done + i);
    done += n;
  }
}

}  // namespace

void encode_line_plan(const LinePlan& plan, ByteSink& out) {
  if (!plan.dimensioned()) return;
  for (int axis = 0; axis < 2; ++axis) {
    size_t written = 0;
    if (plan.has_starting_points()) {
      write_elements(out, 2, plan_element_bytes(PlanElement::kInt16), [&](char* at, size_t metre) {
        store_little_endian<kPlanTagBytes>(at, PlanElement::kInt16);
        store_little_endian<2>(at + kPlanTagBytes, static_cast<uint16_t>(plan.element(static_cast<int64_t>(metre), axis).integer));
      });
      const std::span<const double> column = plan.column(axis);
      write_elements(out, column.size(), plan_element_bytes(PlanElement::kDouble), [&](char* at, size_t i) {
        store_little_endian<kPlanTagBytes>(at, PlanElement::kDouble);
        store_little_endian<8>(at + kPlanTagBytes, std::bit_cast<uint64_t>(column[i]));
      });
      written = 2 + column.size();
    }
    const size_t elements = static_cast<size_t>(plan.extent_m()) + 1;
    write_elements(out, elements - written, plan_element_bytes(PlanElement::kEmpty), [](char* at, size_t) { store_little_endian<kPlanTagBytes>(at, PlanElement::kEmpty); });
  }
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
