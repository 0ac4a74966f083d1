#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "format/byte_reader.hpp"
#include "format/scenario_files.hpp"
#include "model/line_plan.hpp"
#include "model/sim_record.hpp"
#include "model/track_cell.hpp"

namespace scenario {

// The inverses of the three encoders. Each takes a whole compiled file and gives back the
// container it was written from; a file that no encoder could have written (truncated,
// with bytes to spare, or with a layout the encoder never produces) raises DecodeError
// naming the byte offset. A listener, when given, hears every field in file order.

// One tagged value of a line plan; an unknown tag is refused at its offset.
PlanElement read_plan_element(ByteReader& r);

// The bytes of a compiled file of this kind: a regular file no larger than its kind may be,
// else FileError, unread.
std::string read_compiled_file(const std::filesystem::path& file, CompiledFileKind kind);

// <name>_<n>.dat: any whole number of 15-byte cells. A part of a file that starts at cell
// `first_cell` is told to the listener with the cells' own numbers.
std::vector<TrackCell> decode_track_cells(std::string_view bytes, FieldListener* listener = nullptr,
                                          size_t first_cell = 0);

// <name>_<n>.sim: exactly 87 records.
std::array<SimRecord, kRecordCount> decode_records(std::string_view bytes, FieldListener* listener = nullptr);

// The layout of a line plan file: its extent and how many of its metres are computed.
struct LinePlanLayout {
  int32_t extent_m = -1;  // -1: an empty file, a plan never dimensioned
  bool has_start = false;
  int64_t doubles = 0;

  // Metres 0 .. computed_points() - 1 hold points.
  int64_t computed_points() const { return has_start ? 2 + doubles : 0; }
  PlanElement::Tag tag_at(int64_t metre) const {
    if (metre < 2) return has_start ? PlanElement::kInt16 : PlanElement::kEmpty;
    return metre - 2 < doubles ? PlanElement::kDouble : PlanElement::kEmpty;
  }
};

// <name>_linea.dat: an x column and a y column of the same length, each either all empty
// or the integer starting points (0, 0) and (0, 1), then doubles, then empty elements, the
// two columns computed to the same metre. An empty file is a plan never dimensioned. The
// file is checked whole, in file order; its points are read by LinePlanPoints.
LinePlanLayout decode_line_plan(std::string_view bytes, FieldListener* listener = nullptr);

}  // namespace scenario
