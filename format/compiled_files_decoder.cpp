#include "format/compiled_files_decoder.hpp"

#include <iterator>
#include <limits>

#include "format/compiled_layouts.hpp"
#include "format/file_io.hpp"

namespace scenario {
namespace {

const char* describe_tag(int64_t tag) {
  for (const PlanElementKind& kind : kPlanElementKinds)
    if (kind.tag == tag) return kind.name;
  return "unknown tag";
}

// How many tagged values the file holds, every one checked for its tag and its length.
int64_t count_elements(std::string_view bytes) {
  ByteReader r(bytes);
  int64_t count = 0;
  while (!r.at_end()) {
    r.enter("plan element", count);
    read_plan_element(r);
    ++count;
  }
  return count;
}

// What the x column may hold at `metre`, given what it held before: an integer or an empty
// element at metre 0, the same again at metre 1, then doubles until the first empty one.
PlanElement::Tag expected_x_tag(int64_t metre, const LinePlanLayout& so_far, bool ended, PlanElement::Tag found) {
  if (metre == 0) return found == PlanElement::kDouble ? PlanElement::kInt16 : found;
  if (metre == 1) return so_far.has_start ? PlanElement::kInt16 : PlanElement::kEmpty;
  if (!so_far.has_start || ended) return PlanElement::kEmpty;
  return found == PlanElement::kEmpty ? PlanElement::kEmpty : PlanElement::kDouble;
}

std::string tag_text(int tag) { return std::to_string(tag) + " (" + describe_tag(tag) + ")"; }

// Reads one column. The x column sets the layout (`x` null); the y column must follow it
// element for element.
LinePlanLayout read_column(ByteReader& r, int axis, int32_t extent, const LinePlanLayout* x) {
  LinePlanLayout layout;
  layout.extent_m = extent;
  const char* name = axis == 0 ? "x, metre" : "y, metre";
  bool ended = false;  // an empty element after the starting points: only empties follow
  for (int64_t metre = 0; metre <= extent; ++metre) {
    r.enter(name, metre);
    const size_t offset = r.offset();
    const PlanElement e = read_plan_element(r);
    if (x == nullptr && metre == 0) layout.has_start = e.tag == PlanElement::kInt16;
    const PlanElement::Tag expected = x != nullptr ? x->tag_at(metre) : expected_x_tag(metre, layout, ended, e.tag);
    if (e.tag != expected) {
      const std::string where = x != nullptr ? "the x column has " : "the layout allows ";
      r.fail(offset, "tag " + tag_text(e.tag) + " where " + where + tag_text(expected));
    }
    if (e.tag == PlanElement::kInt16) {
      const PlanPoint start = kPlanStartingPoints[metre];
      const auto expected_start = static_cast<int16_t>(axis == 0 ? start.x : start.y);
      if (e.integer != expected_start) {
        r.fail(offset + 2, "starting point " + std::to_string(e.integer) + " where every plan starts at (0, 0), (0, 1)");
      }
    } else if (e.tag == PlanElement::kDouble) {
      ++layout.doubles;
    } else if (metre >= 2) {
      ended = true;
    }
  }
  if (layout.has_start && extent < 1) r.fail(r.offset(), "the column ends after one starting point");
  if (x != nullptr) layout = *x;
  return layout;
}

}  // namespace

PlanElement read_plan_element(ByteReader& r) {
  const size_t offset = r.offset();
  PlanElement e;
  const uint16_t tag = r.u16("tag", describe_tag);
  switch (tag) {
    case PlanElement::kEmpty: e.tag = PlanElement::kEmpty; break;
    case PlanElement::kInt16:
      e.tag = PlanElement::kInt16;
      e.integer = r.i16(describe_tag(tag));
      break;
    case PlanElement::kDouble:
      e.tag = PlanElement::kDouble;
      e.real = r.f64(describe_tag(tag));
      break;
    default: {
      std::string tags;
      for (const PlanElementKind& kind : kPlanElementKinds) {
        if (!tags.empty()) tags += &kind == std::end(kPlanElementKinds) - 1 ? " or " : ", ";
        tags += std::to_string(kind.tag) + " (" + kind.name + ")";
      }
      r.fail(offset, "unknown tag " + std::to_string(tag) + ": a plan element is tagged " + tags);
    }
  }
  return e;
}

std::string read_compiled_file(const std::filesystem::path& file, CompiledFileKind kind) {
  return read_regular_file(file, kind == CompiledFileKind::kRecords ? kMaxRecordsFileBytes : kMaxCompiledFileBytes);
}

std::vector<TrackCell> decode_track_cells(std::string_view bytes, FieldListener* listener, size_t first_cell) {
  ByteReader r(bytes, listener);
  std::vector<TrackCell> cells;
  cells.reserve(bytes.size() / kTrackCellBytes);
  while (!r.at_end()) {
    r.enter("track cell", static_cast<int64_t>(first_cell + cells.size()));
    cells.push_back(read_record<TrackCell>(r, kTrackCellLayout));
  }
  return cells;
}

std::array<SimRecord, kRecordCount> decode_records(std::string_view bytes, FieldListener* listener) {
  ByteReader r(bytes, listener);
  std::array<SimRecord, kRecordCount> records{};
  int64_t slot = 0;
  for (SimRecord& record : records) {
    r.enter("record", slot++);
    record = read_record<SimRecord>(r, kSimRecordLayout);
  }
  if (!r.at_end()) {
    r.enter("after the records", 0);
    r.fail(r.offset(), std::to_string(r.remaining()) + " bytes after the last of the 87 records");
  }
  return records;
}

LinePlanLayout decode_line_plan(std::string_view bytes, FieldListener* listener) {
  const int64_t count = count_elements(bytes);
  if (count == 0) return LinePlanLayout();
  if (count % 2 != 0) {
    throw DecodeError(bytes.size(), std::to_string(count) +
                                        " plan elements: the x and y columns must have the same length");
  }
  if (count / 2 - 1 > std::numeric_limits<int32_t>::max()) throw DecodeError(0, "line plan too long");
  const auto extent = static_cast<int32_t>(count / 2 - 1);
  ByteReader r(bytes, listener);
  const LinePlanLayout x = read_column(r, 0, extent, nullptr);
  read_column(r, 1, extent, &x);
  return x;
}

}  // namespace scenario
