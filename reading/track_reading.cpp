#include "reading/track_reading.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <set>

#include "model/scenario_model.hpp"
#include "postpass/signalling_walk.hpp"
#include "reading/slowdown_pairing.hpp"
#include "model/format_rules.hpp"

namespace scenario {
int64_t feature_position_m(uint8_t kind, int64_t cell) {
  return (cell_kind_entry(kind).anchor == CellAnchor::kCellBefore ? cell - 1 : cell) * kCellLength_m;
}

int32_t route_length_m(const std::array<SimRecord, kRecordCount>& records) {
  return kRouteLength.in(records);
}

int64_t last_route_cell(const std::vector<TrackCell>& cells, const std::array<SimRecord, kRecordCount>& records) {
  const int64_t length = route_length_m(records);
  const int64_t last = length > 0 ? (length + kCellLength_m - 1) / kCellLength_m - 1 : -1;
  return std::min<int64_t>(last, static_cast<int64_t>(cells.size()) - 1);
}

std::vector<Station> stations_of(const std::vector<TrackCell>& cells,
                                 const std::array<SimRecord, kRecordCount>& records,
                                 const KilometreReadings& readings) {
  std::set<int> board_slots;
  for (const TrackCell& c : cells)
    if (c.kind == kIndicatorBoard) board_slots.insert(c.value1);
  std::vector<Station> stations;
  for (int slot = kFirstStationSlot; slot <= kFirstBoardTextSlot; ++slot) {
    const SimRecord& r = records[static_cast<size_t>(slot)];
    if (r == SimRecord{} || board_slots.count(slot) != 0) continue;
    stations.push_back({slot, &r, readings.reading_m(r.position_m), Station::Call::kPass});
  }
  for (size_t i = 0; i < stations.size(); ++i) {
    if (stations[i].record->time_s == 0) continue;
    stations[i].call = i == 0                     ? Station::Call::kDeparture
                       : i + 1 == stations.size() ? Station::Call::kArrival
                                                  : Station::Call::kStop;
  }
  return stations;
}

const char* call_name(Station::Call call) {
  switch (call) {
    case Station::Call::kDeparture: return "departure";
    case Station::Call::kStop: return "stop";
    case Station::Call::kArrival: return "arrival";
    case Station::Call::kPass: break;
  }
  return "pass";
}

const std::string* indicator_board_text(const TrackCell& cell, const std::array<SimRecord, kRecordCount>& records) {
  if (cell.value1 < 0 || cell.value1 >= kRecordCount) return nullptr;
  return &records[static_cast<size_t>(cell.value1)].text;
}

std::string timetable_text(int32_t time_s) {
  char buffer[48];
  const int64_t t = time_s;
  if (t % 60 == 0)
    std::snprintf(buffer, sizeof buffer, "%lld.%02lld", static_cast<long long>(t / 3600),
                  static_cast<long long>(t / 60 % 60));
  else
    std::snprintf(buffer, sizeof buffer, "%lld.%02lld.%02lld", static_cast<long long>(t / 3600),
                  static_cast<long long>(t / 60 % 60), static_cast<long long>(t % 60));
  return buffer;
}

std::vector<Slowdown> slowdowns_of(const std::vector<TrackCell>& cells) {
  const std::vector<SlowdownCells> pairs = pair_slowdowns(cells).slowdowns;
  std::vector<Slowdown> slowdowns;
  slowdowns.reserve(pairs.size());  // a start in every cell is a slowdown per cell: no spare room
  for (const SlowdownCells& paired : pairs) {
    const TrackCell& start = cells[static_cast<size_t>(paired.start_cell)];
    const int64_t warning = paired.start_cell - kSlowdownWarningCells;
    const bool has_warning = warning >= 0 && cells[static_cast<size_t>(warning)].kind == kSlowdownWarningBoard;
    slowdowns.push_back({paired.start_cell, paired.end_cell, start.value1, has_warning ? warning : -1});
  }
  return slowdowns;
}

std::vector<CellRun> runs_of(const std::vector<TrackCell>& cells, uint8_t TrackCell::*field, int64_t up_to_cell) {
  std::vector<CellRun> runs;
  const int64_t last = std::min<int64_t>(up_to_cell, static_cast<int64_t>(cells.size()) - 1);
  for (int64_t i = 0; i <= last; ++i) {
    const int value = cells[static_cast<size_t>(i)].*field;
    if (!runs.empty() && runs.back().value == value)
      runs.back().last_cell = i;
    else
      runs.push_back({i, i, value});
  }
  return runs;
}

std::string clock_text(const std::array<SimRecord, kRecordCount>& records) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", kClockHours.in(records), kClockMinutes.in(records),
                kClockSeconds.in(records));
  return buffer;
}

std::string speed_board_text(const TrackCell& cell) {
  const int values[3] = {cell.value1, cell.value2, cell.value3};
  std::string left, right;
  bool has_right = false;
  for (int v : values) {
    left += (left.empty() ? "" : "/") + std::to_string(board_left_kmh(v));
    right += (right.empty() ? "" : "/") + std::to_string(board_right_kmh(v));
    has_right = has_right || board_right_kmh(v) != 0;
  }
  std::string text = left;
  if (has_right) text += " right " + right;
  if (cell.value4 != 0) text += " stripes " + std::to_string(cell.value4 / kStripeSideScale) + "/" + std::to_string(cell.value4 % kStripeSideScale);
  return text;
}

std::vector<CodeReduction> code_reductions_of(const std::vector<TrackCell>& cells) {
  std::vector<CodeReduction> points;
  const bool walk_may_have_placed = std::any_of(cells.begin(), cells.end(), [](const TrackCell& c) {
    return c.kind == kCodeReduction && c.value1 == kWalkPointSpeed_kmh;
  });
  if (!walk_may_have_placed) {  // nothing to tell apart: the walk need not run
    for (size_t i = 0; i < cells.size(); ++i)
      if (cells[i].kind == kCodeReduction || cells[i].kind == kCodeReductionNonPositive)
        points.push_back({static_cast<int64_t>(i), cells[i].value1, cells[i].kind == kCodeReductionNonPositive, false});
    return points;
  }
  ScenarioModel without_walk;
  without_walk.cells = cells;
  without_walk.last_cell = static_cast<int32_t>(cells.size()) - 1;
  for (TrackCell& c : without_walk.cells)
    if (c.kind == kCodeReduction && c.value1 == kWalkPointSpeed_kmh) c.kind = kFreeCell, c.value1 = 0;
  run_signalling_walk(without_walk);

  for (size_t i = 0; i < cells.size(); ++i) {
    const TrackCell& c = cells[i];
    if (c.kind != kCodeReduction && c.kind != kCodeReductionNonPositive) continue;
    const bool walk_placed = c.kind == kCodeReduction && c.value1 == kWalkPointSpeed_kmh &&
                             without_walk.cells[i].kind == kCodeReduction;
    points.push_back({static_cast<int64_t>(i), c.value1, c.kind == kCodeReductionNonPositive, walk_placed});
  }
  return points;
}

namespace {

// Which words a turning takes: 0 for "straight", the digit of its curve keyword signed as
// the turning (+ curvad, - curvas), or kMeasuredTurning for one told as a number.
constexpr int kMeasuredTurning = 7;

int turning_words(double k) {
  static constexpr double kCurvatures[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
  if (std::abs(k) < 0.00002) return 0;
  for (int digit = 1; digit <= 6; ++digit)
    if (std::abs(std::abs(k) - kCurvatures[digit - 1]) < kCurvatures[digit - 1] * 0.01) return k > 0 ? digit : -digit;
  return kMeasuredTurning;
}

// A turning told as a number in millionths, as its text rounds it; none where the product's
// own rounding could put it on the other side of half a millionth (or it is no number).
std::optional<int64_t> rounded_millionths(double k) {
  const double scaled = k * 1e6;
  if (!(std::abs(scaled) < 1e15)) return std::nullopt;
  if (std::abs(std::abs(scaled - std::trunc(scaled)) - 0.5) < 1e-6) return std::nullopt;
  return std::llround(scaled);
}

}  // namespace

std::string turning_text(double k) {
  const int words = turning_words(k);
  if (words == 0) return "straight";
  if (words != kMeasuredTurning) return std::string("curva") + (words > 0 ? "d" : "s") + std::to_string(std::abs(words));
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "turning %.6f per metre", k);
  return buffer;
}

bool same_turning_text(double a, double b) {
  const int words = turning_words(a);
  if (words != turning_words(b)) return false;
  if (words != kMeasuredTurning) return true;
  const std::optional<int64_t> ma = rounded_millionths(a), mb = rounded_millionths(b);
  if (ma && mb) return *ma == *mb;
  return turning_text(a) == turning_text(b);
}

}  // namespace scenario
