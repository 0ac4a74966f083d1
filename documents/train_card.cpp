#include "documents/train_card.hpp"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

#include "documents/form_drawing.hpp"
#include "model/track_cell.hpp"
#include "reading/kilometre_readings.hpp"
#include "reading/track_reading.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

// The timetable's bar columns; its cells lie between them.
constexpr int kTimetableBars[] = {2, 8, 14, 25, 31, 60, 77, 83};
constexpr int kHeadingBars[] = {2, 22, 69, 84};
constexpr int kSecondStripBars[] = {2, 22, 37, 57};

// Where a timetable time stands in its cell: a departure late, an arrival early, a stop's
// single time in between.
constexpr int kDepartureColumn = 71;
constexpr int kArrivalColumn = 62;
constexpr int kStopColumn = 67;

struct TimetableRow {
  int64_t position_m = 0;
  int64_t reading_m = 0;
  std::optional<int> speed_kmh;  // where the line speed changes
  std::string name;
  std::string time;
  int time_column = 0;
};

int time_column(Station::Call call) {
  switch (call) {
    case Station::Call::kDeparture: return kDepartureColumn;
    case Station::Call::kArrival: return kArrivalColumn;
    case Station::Call::kStop: return kStopColumn;
    case Station::Call::kPass: break;
  }
  return 0;
}

// Stations in running order with the changes of line speed between them; a change within a
// station's cell is told on the station's row.
std::vector<TimetableRow> timetable_rows(const LoadedScenario& s, const std::vector<Station>& stations,
                                         const std::vector<CellRun>& speeds, const KilometreReadings& km) {
  std::vector<TimetableRow> rows;
  size_t next_run = 1;  // the first run is the speed at the start, not a change
  const auto add_changes_before = [&](int64_t position_m, std::optional<int64_t> station_cell) {
    for (; next_run < speeds.size() && speeds[next_run].first_cell * kCellLength_m <= position_m; ++next_run) {
      const CellRun& run = speeds[next_run];
      if (run.value == 0) continue;
      const int speed = run.value * kSpeedUnit_kmh;
      if (station_cell == run.first_cell && !rows.empty()) {
        rows.back().speed_kmh = speed;
        continue;
      }
      const int64_t at = run.first_cell * kCellLength_m;
      rows.push_back({at, km.reading_m(at), speed, "Cippo chilometro " + kilometre_text(km.reading_m(at)), "", 0});
    }
  };
  for (const Station& station : stations) {
    const SimRecord& r = *station.record;
    // A decoded position may be any 32-bit value: reckoned in 64 bits, exactly.
    const int64_t position_m = r.position_m;
    add_changes_before(position_m - 1, std::nullopt);
    rows.push_back({position_m, station.reading_m, std::nullopt, r.text,
                    r.time_s != 0 ? timetable_text(r.time_s) : "", time_column(station.call)});
    add_changes_before(position_m - position_m % kCellLength_m + kCellLength_m - 1, position_m / kCellLength_m);
  }
  add_changes_before(INT64_MAX, std::nullopt);
  // The first row tells the speed in force where the train sets off.
  if (!rows.empty() && !rows.front().speed_kmh) {
    const int64_t cell = rows.front().position_m / kCellLength_m;
    if (cell >= 0 && cell < static_cast<int64_t>(s.cells.size()) && s.cells[static_cast<size_t>(cell)].speed_limit != 0)
      rows.front().speed_kmh = s.cells[static_cast<size_t>(cell)].speed_limit * kSpeedUnit_kmh;
  }
  return rows;
}

std::vector<std::string> heading_lines(const LoadedScenario& s, const std::vector<Station>& stations,
                                       int highest_speed_kmh, const TrainDetails& details) {
  const std::string first = stations.empty() ? "" : stations.front().record->text;
  const std::string last = stations.empty() ? "" : stations.back().record->text;
  std::string top = edge_line(2, 21);
  top += std::string(48, ' ') + std::string(14, '_');
  std::string title = bar_line(kHeadingBars, ' ');
  put_text(title, 41, "SCHEDA", 68);
  std::string train = bar_line(kHeadingBars, ' ');
  put_text(train, 6, "TRENO n.   " + s.number, 21);
  put_text(train, 39, "da: " + first, 68);
  if (highest_speed_kmh > 0)
    put_text(train, 74, "V" + std::to_string(highest_speed_kmh) + (details.rank.empty() ? "" : " " + details.rank), 83);
  std::string braking = bar_line(kHeadingBars, ' ');
  std::fill(braking.begin() + 2, braking.begin() + 21, '_');
  put_text(braking, 40, "a: " + last, 68);
  const int32_t braked_percent = kBrakedMassPercent.in(s.records);
  if (braked_percent != 0) put_text(braking, 75, std::to_string(braked_percent) + "%", 83);
  std::string right_bottom(68, ' ');
  right_bottom += "|" + std::string(14, '_') + "|";

  std::string second_top = edge_line(2, 21) + std::string(16, ' ') + std::string(19, '_') + " ";
  std::string titles = bar_line(kSecondStripBars, ' ') + std::string(7, ' ');
  put_text(titles, 5, "CLASSIFICAZIONE", 21);
  put_text(titles, 40, "MASSA BLOCCATA", 56);
  std::string values = bar_line(kSecondStripBars, ' ');
  put_text(values, 5, details.train_class, 21);
  if (!details.mass_t.empty()) {
    // The braked mass is told whole or not at all: a cut figure would be another mass.
    constexpr int kMassFirst = 44, kMassLast = 56;
    const std::string mass = details.mass_t + "T";
    if (mass.size() > static_cast<size_t>(kMassLast - kMassFirst + 1))
      throw std::length_error("the braked mass '" + details.mass_t + "' does not fit the card's box of " +
                              std::to_string(kMassLast - kMassFirst) + " characters and its T");
    put_text(values, kMassFirst, mass, kMassLast);
  }
  std::string bottoms = bar_line(kSecondStripBars, '_') + "  ";
  std::fill(bottoms.begin() + 22, bottoms.begin() + 36, ' ');
  return {"", " ", top, title, train, braking, right_bottom, second_top, titles, values, bottoms, ""};
}

}  // namespace

std::vector<std::string> train_card_lines(const LoadedScenario& s, const TrainDetails& details) {
  const KilometreReadings km(s.records);
  const std::vector<Station> stations = stations_of(s.cells, s.records, km);
  const std::vector<CellRun> speeds = runs_of(s.cells, &TrackCell::speed_limit, last_route_cell(s.cells, s.records));
  int highest = 0;
  for (const CellRun& run : speeds) highest = std::max(highest, run.value * kSpeedUnit_kmh);

  std::vector<std::string> lines = heading_lines(s, stations, highest, details);
  lines.push_back(edge_line(2, 82));
  lines.emplace_back(" | Vel.| Vel.| Progr Km | No  |  Localita' di Servizio     |    Orario      | Rec |");
  lines.emplace_back(" | Lim.|Marc.|          | Rs  |                            |                |     |");
  const std::string rule = bar_line(kTimetableBars, '_');
  lines.push_back(rule);
  for (const TimetableRow& row : timetable_rows(s, stations, speeds, km)) {
    std::string line = bar_line(kTimetableBars, ' ');
    if (row.speed_kmh) put_right(line, 6, std::to_string(*row.speed_kmh), 3);
    put_right(line, 23, kilometre_text(row.reading_m), 15);
    put_text(line, 33, row.name, 59);
    if (!row.time.empty()) put_fitted(line, row.time_column, row.time, 61, 76);
    lines.push_back(std::move(line));
  }
  lines.push_back(rule);
  return lines;
}

}  // namespace scenario
