#include "model/compiled_files.hpp"

#include "model/byte_writer.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {

void encode_track_cells(const ScenarioModel& model, std::string& out) {
  out.reserve(out.size() + model.cells.size() * kTrackCellBytes);
  ByteWriter w(out);
  for (const TrackCell& c : model.cells) {
    w.u8(c.kind);
    w.i16(c.value1);
    w.i16(c.value2);
    w.i16(c.value3);
    w.i16(c.value4);
    w.u8(c.signal_time);
    w.u8(c.approach);
    w.u8(c.mountain);
    w.u8(c.speed_limit);
    w.u8(c.gradient);
    w.u8(c.adhesion);
  }
}

void encode_records(const ScenarioModel& model, std::string& out) {
  ByteWriter w(out);
  for (const SimRecord& r : model.sim_records) {
    if (r.text.size() > kMaxRecordTextBytes) throw RuntimeFailure("record text longer than 65535 bytes");
    w.u8(r.station_type);
    w.i32(r.start_m);
    w.i32(r.end_m);
    w.i32(r.position_m);
    w.u8(r.p4);
    w.u16(static_cast<uint16_t>(r.text.size()));
    w.bytes(r.text);
    w.i16(r.p7);
    w.i16(r.p8);
    w.i16(r.p10);
    w.i16(r.p11);
    w.i16(r.p12);
    w.u8(r.p9);
    w.u8(r.p13);
    w.u8(r.p6);
    w.u8(r.p5);
    w.i32(r.time_s);
  }
}

void encode_line_plan(const LinePlan& plan, std::string& out) {
  if (!plan.dimensioned()) return;
  // Doubles dominate: reserve for the largest case so the buffer grows once.
  out.reserve(out.size() + 2 * (static_cast<size_t>(plan.extent_m()) + 1) * 10);
  ByteWriter w(out);
  for (int axis = 0; axis < 2; ++axis) {
    for (int64_t metre = 0; metre <= plan.extent_m(); ++metre) {
      const PlanElement e = plan.element(metre, axis);
      w.u16(e.tag);
      if (e.tag == PlanElement::kInt16) w.i16(e.integer);
      if (e.tag == PlanElement::kDouble) w.f64(e.real);
    }
  }
}

}  // namespace scenario
