#include "documents/slowdown_order.hpp"

#include "documents/form_drawing.hpp"
#include "model/track_cell.hpp"
#include "reading/kilometre_readings.hpp"
#include "reading/track_reading.hpp"

namespace scenario {
namespace {

constexpr int kOrderBars[] = {2, 6, 35, 48, 59, 69, 82};

// The whole kilometre post a train passes just before `position_m`: the one below the
// reading where the readings rise, the one above where they fall.
int64_t post_passed_before(const KilometreReadings& km, int64_t position_m) {
  bool falling = false;
  for (const KilometrePostChange& change : km.changes())
    if (change.position_m <= position_m) falling = change.falling;
  const int64_t reading = km.reading_m(position_m);
  const int64_t below = reading >= 0 ? reading / 1000 : -((-reading + 999) / 1000);
  return falling && below * 1000 != reading ? below + 1 : below;
}

// "BEFORE - AFTER", the stations on either side of a position; one name alone at either end
// of the route.
std::string stations_around(const std::vector<Station>& stations, int64_t position_m) {
  const Station* before = nullptr;
  const Station* after = nullptr;
  for (const Station& station : stations) {
    if (station.record->position_m <= position_m)
      before = &station;
    else if (after == nullptr)
      after = &station;
  }
  if (before != nullptr && after != nullptr) return before->record->text + " - " + after->record->text;
  if (before != nullptr) return before->record->text;
  return after != nullptr ? after->record->text : "";
}

std::vector<std::string> form_heading(const std::vector<Station>& stations, const std::string& number) {
  const std::string line_name =
      stations.empty() ? "" : stations.front().record->text + " " + stations.back().record->text;
  return {"",
          std::string(31, ' ') + "Modulo M. 3",
          std::string(27, ' ') + "ORDINE DI RALLENTAMENTO",
          edge_line(1, 81),
          "  Linea  " + line_name,
          "",
          "  Si ordina al macchinista del treno  " + number + "  di effettuare i seguenti rallentamenti",
          edge_line(2, 81),
          " |   |                            |Inizio dopo |          |         |            |",
          " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
          " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
          bar_line(kOrderBars, '_')};
}

constexpr const char* kPrescriptionKey[] = {
    "",
    "              Prescrizioni specifiche",
    " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
    " B - Interessa anche la stazione di.......",
    " D - Rallentamneto N. ... e N. ...  sono contigui",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
};

}  // namespace

std::vector<std::string> slowdown_order_lines(const LoadedScenario& s) {
  const KilometreReadings km(s.records);
  const std::vector<Station> stations = stations_of(s.cells, s.records, km);
  const std::vector<Slowdown> slowdowns = slowdowns_of(s.cells);
  std::vector<std::string> lines;
  size_t next = 0;
  do {
    const std::vector<std::string> heading = form_heading(stations, s.number);
    lines.insert(lines.end(), heading.begin(), heading.end());
    for (size_t row = 0; row < kSlowdownsPerForm; ++row, ++next) {
      std::string line = bar_line(kOrderBars, ' ');
      if (next < slowdowns.size()) {
        const Slowdown& slowdown = slowdowns[next];
        const int64_t start_m = feature_position_m(kSlowdownStart, slowdown.start_cell);
        put_centred(line, 3, 5, std::to_string(next + 1));
        put_centred(line, 7, 34, stations_around(stations, start_m));
        put_centred(line, 36, 47, std::to_string(post_passed_before(km, start_m)));
        put_centred(line, 49, 58, std::to_string(slowdown.speed_kmh));
        put_centred(line, 60, 68, std::to_string((slowdown.end_cell - slowdown.start_cell) * kCellLength_m));
      }
      lines.push_back(std::move(line));
    }
    lines.push_back(bar_line(kOrderBars, '_'));
    lines.insert(lines.end(), std::begin(kPrescriptionKey), std::end(kPrescriptionKey));
  } while (next < slowdowns.size());
  return lines;
}

}  // namespace scenario
