#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/line_plan.hpp"
#include "model/sim_record.hpp"
#include "model/track_cell.hpp"
#include "reading/kilometre_readings.hpp"

namespace scenario {

// Where the author placed a feature found in a cell, by its kind's anchor: a feature the
// compiler put in the cell after its position (position / 50 + 1) reads back as the start
// of the cell before; everything else as the start of its own cell.
int64_t feature_position_m(uint8_t kind, int64_t cell);

// The route length of the service data; the cells run kRouteExtension_m further.
int32_t route_length_m(const std::array<SimRecord, kRecordCount>& records);

// The last cell that lies on the route (-1 for none): the compiler dimensions kRouteExtension_m more.
int64_t last_route_cell(const std::vector<TrackCell>& cells, const std::array<SimRecord, kRecordCount>& records);

// A station of the route, in running order (the order of its slots).
struct Station {
  enum class Call { kDeparture, kStop, kPass, kArrival };
  int slot = 0;
  const SimRecord* record = nullptr;
  int64_t reading_m = 0;  // the kilometre reading at its position
  Call call = Call::kPass;
};

// Slots 1 to 80 that hold something and that no indicator board points to. A station with
// a timetable time is a stop, the first one the departure and the last one the arrival;
// one without is passed.
std::vector<Station> stations_of(const std::vector<TrackCell>& cells,
                                 const std::array<SimRecord, kRecordCount>& records,
                                 const KilometreReadings& readings);

const char* call_name(Station::Call call);

// The text of the indicator board in `cell` (its record slot is the cell's first value), or
// nullptr when that slot is not one of the records.
const std::string* indicator_board_text(const TrackCell& cell, const std::array<SimRecord, kRecordCount>& records);

// hh.mm of a timetable time, as the papers print it ("18.42"; "18.42.30" with seconds).
std::string timetable_text(int32_t time_s);

// The scenario's clock as the papers write it: "7:45:00".
std::string clock_text(const std::array<SimRecord, kRecordCount>& records);

// A slowdown found in the cells: its start cell, the end cell paired with it (the start
// cell itself when its end fell into the same cell, or when another start or no end comes
// first), its speed and its warning board, kSlowdownWarningCells before the start (-1 when none).
struct Slowdown {
  int64_t start_cell = 0;
  int64_t end_cell = 0;
  int speed_kmh = 0;
  int64_t warning_cell = -1;
};

// Every slowdown in running order, its start and end paired as the compiler placed them
// (see pair_slowdowns); a start without an end ends in its own cell.
std::vector<Slowdown> slowdowns_of(const std::vector<TrackCell>& cells);

// A run of cells [first_cell, last_cell] with the same value of one per-cell field.
struct CellRun {
  int64_t first_cell = 0;
  int64_t last_cell = 0;
  int value = 0;
};

// Runs of equal `field` over cells 0 .. up_to_cell (clipped to the cells that exist).
std::vector<CellRun> runs_of(const std::vector<TrackCell>& cells, uint8_t TrackCell::*field, int64_t up_to_cell);

// The speeds of a speed-limit board: left and right board for trains of rank A, B, C, and
// the stripes of each ("80/80/80", "80/80/80 right 80/80/80 stripes 2/2").
std::string speed_board_text(const TrackCell& cell);

// The code reduction points in running order, and whether the signalling walk added each
// (told by running the walk again on the cells without its points).
struct CodeReduction {
  int64_t cell = 0;
  int value = 0;
  bool non_positive = false;  // kind 13: a row whose value was 0 or below
  bool added = false;
};
std::vector<CodeReduction> code_reductions_of(const std::vector<TrackCell>& cells);

// How the plan turns at a metre, from the steps p0 → p1 → p2: the plan steps turn by k
// with x += dx + k dy, y += dy - k dx, so k = -cross / |step|² (positive to the right).
// Inline, so that a loop over a block of points makes them side by side.
inline double plan_turning(const PlanPoint& p0, const PlanPoint& p1, const PlanPoint& p2) {
  const double dx1 = p1.x - p0.x, dy1 = p1.y - p0.y, dx2 = p2.x - p1.x, dy2 = p2.y - p1.y;
  const double length2 = dx1 * dx1 + dy1 * dy1;
  // No step, no turning; the division made either way, by 1 then, so that it needs no branch.
  const bool steps = length2 > 0;
  const double k = -(dx1 * dy2 - dy1 * dx2) / (steps ? length2 : 1.0);
  return steps ? k : 0.0;
}

// A turning in the author's words: the curve keyword that gives it ("curvad6"), or
// "straight".
std::string turning_text(double k);
// Whether two turnings take the same words, without making them (but where rounding to the
// text's last digit is too close to call).
bool same_turning_text(double a, double b);

}  // namespace scenario
