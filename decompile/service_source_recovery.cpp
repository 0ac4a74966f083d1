#include "decompile/service_source_recovery.hpp"

#include <algorithm>
#include <optional>
#include <set>

#include "schema/row_schema.hpp"
#include "decompile/fill_recovery.hpp"
#include "decompile/row_writers.hpp"
#include "decompile/source_text.hpp"
#include "model/approach_codes.hpp"
#include "model/format_rules.hpp"

namespace scenario {
namespace {

constexpr int64_t kCell_m = CompiledScenario::kCell_m;
constexpr int64_t kSpeedStep_kmh = 5;

const TrackCell& cell_at(const CompiledScenario& s, int64_t c) { return s.cells[static_cast<size_t>(c)]; }
bool has_cell(const CompiledScenario& s, int64_t c) { return c >= 0 && c <= s.last_cell(); }
bool holds(const CompiledScenario& s, int64_t c, CellKind kind) { return has_cell(s, c) && cell_at(s, c).kind == kind; }

void general_rows(const CompiledScenario& s, SourceText& text) {
  const SimRecord& service = s.records[kServiceDataSlot];
  const SimRecord& header = s.records[kScenarioNumberSlot];
  text.line("[generale]");
  text.line(write_coaches_row({service.position_m}));
  text.line(write_braked_mass_row({service.start_m}));
  text.line(write_sand_row({header.p7}));
  text.line(write_clock_row({header.p10, header.p11, header.p12}));
}

void fill_rows(const CompiledScenario& s, SourceText& text) {
  text.line("[aderenze]");
  for (const FillRow& row : recover_fill(s.cells, &TrackCell::adhesion))
    text.line(write_adhesion_row({row.cell * kCell_m, row.value}));
  text.line("[vel_limite]");
  for (const FillRow& row : recover_fill(s.cells, &TrackCell::speed_limit))
    text.line(write_line_speed_row({row.cell * kCell_m, row.value * kSpeedStep_kmh}));
}


std::string station_row(int slot, const SimRecord& r, Remarks& remarks) {
  const int64_t position = r.position_m;
  const int64_t before = position - r.start_m;
  const uint8_t type = r.station_type;
  const bool one_sided = is_short_platform_type(type) || is_terminus_type(type);
  // Other types take half the length on either side, and 50 m more at the end with p6.
  const int64_t length = one_sided ? before : 2 * before;
  int64_t p6 = one_sided ? 0 : r.p6;
  if (!one_sided && p6 == 0 && int64_t{r.end_m} - position - before == kCell_m) p6 = 1;  // cleared in the first slot
  const int64_t hours = r.time_s / 3600;
  const int64_t minutes = r.time_s % 3600 / 60;
  const int64_t seconds = r.time_s % 60;
  const std::optional<std::string> name = text_field(r.text);
  if (!name) remarks.push_back("record " + std::to_string(slot) + ": a station name that no text field reads as");
  return write_station_row({position, type, length, r.p4, r.p5, p6, r.p7, r.p8, r.p9, r.p10, r.p11, r.p12, r.p13, hours,
                            minutes, seconds, name.value_or("")});
}

// The station slots in file order: from 1 upward, up to the first board text.
std::vector<int> station_slots(const CompiledScenario& s, Remarks& remarks) {
  const int first_board_slot = kFirstBoardTextSlot + 1 - s.indicator_board_count();
  std::vector<int> slots;
  int slot = kFirstStationSlot;
  for (; slot < first_board_slot && s.records[static_cast<size_t>(slot)] != SimRecord{}; ++slot) slots.push_back(slot);
  for (; slot < first_board_slot; ++slot)
    if (s.records[static_cast<size_t>(slot)] != SimRecord{})
      remarks.push_back("record " + std::to_string(slot) + ": a station after an empty record, which no row fills");
  return slots;
}

// value4 = rapp × 10 + aspect on 16 bits: the aspect nearest 0 of those the approach codes
// allow, with rapp a whole number.
std::pair<int64_t, int64_t> rapp_and_aspect(int16_t value4, std::optional<int64_t> aspect_mod_128) {
  if (!aspect_mod_128) {
    const int64_t aspect = (value4 % 10 + 10) % 10;
    return {(value4 - aspect) / 10, aspect};
  }
  for (int64_t t = 0; t <= 4; ++t) {
    for (const int64_t aspect : {*aspect_mod_128 - 128 * t, *aspect_mod_128 + 128 * t}) {
      if ((value4 - aspect) % 10 == 0) return {(value4 - aspect) / 10, aspect};
    }
  }
  // Only modulo 2^16: 10 × rapp = value4 − aspect, solved with 5⁻¹ = 19661 modulo 2^15.
  const int64_t aspect = *aspect_mod_128;
  const int64_t half = ((value4 - aspect) % 65536 + 65536) % 65536 / 2;
  return {half * 19661 % 32768, aspect};
}

std::string signal_row(const CompiledScenario& s, int64_t c, std::optional<int64_t> aspect_mod_128) {
  const TrackCell& cell = cell_at(s, c);
  const auto [rapp, aspect] = rapp_and_aspect(cell.value4, aspect_mod_128);
  int64_t sx = aspect >= 0 ? aspect / 3 : 0;
  int64_t dx = aspect - 3 * sx;
  int64_t tempo = 0;
  if (cell.signal_time != 0) {
    // Only sx 2 keeps a time; 1 to 100 would become 101.
    sx = 2;
    dx = aspect - 6;
    tempo = cell.signal_time <= 100 ? cell.signal_time + 256 : cell.signal_time;
  }
  return write_signal_row({(c - 1) * kCell_m, sx, cell.value1 / 10, cell.value2 / 10, cell.value3 / 10, rapp, dx,
                           cell.value1 % 10, cell.value2 % 10, cell.value3 % 10, tempo});
}

// The order of the station and signal rows, which decides the approach code a cell keeps:
// the last row to write a cell wins. Found from the last row back: a row may come after
// every other still unplaced when each cell it writes either holds its code or is written
// by a row already placed after it. Signals go last where they may (the built-in order),
// stations keep their slots' order, and the aspect of a signal, which only its codes tell
// (modulo 128), is read from the cells it decides.
class RowOrder {
 public:
  struct Item {
    bool station = false;
    int slot = 0;        // of a station
    int64_t cell = 0;    // of a signal
    std::optional<int64_t> aspect_mod_128;
  };

  // `under_exit` holds, for each signal, the slot of the station whose exit took its cell
  // (its row must come before that station's), or 0.
  RowOrder(const CompiledScenario& s, const std::vector<int>& slots, const std::vector<int64_t>& signals,
           const std::vector<int>& under_exit)
      : s_(s), settled_(s.cells.size(), false) {
    std::vector<bool> placed(signals.size(), false);
    size_t stations_left = slots.size();
    size_t signals_left = signals.size();
    // Placed from the last row back: a station is placed once those after it are.
    const auto station_placed = [&](int slot) {
      return stations_left == 0 || slots[stations_left - 1] < slot;
    };
    while (stations_left + signals_left > 0) {
      bool progress = false;
      for (size_t i = signals.size(); i-- > 0;) {
        if (placed[i] || (under_exit[i] != 0 && !station_placed(under_exit[i]))) continue;
        const auto aspect = signal_fits(signals[i]);
        if (!aspect) continue;
        place_signal(signals[i], *aspect);
        placed[i] = progress = true;
        --signals_left;
      }
      if (stations_left > 0 && station_fits(slots[stations_left - 1])) {
        place_station(slots[--stations_left]);
        progress = true;
      }
      if (progress) continue;
      stuck = true;  // no order gives every code: the rest in the built-in order
      for (size_t i = signals.size(); i-- > 0;)
        if (!placed[i] && under_exit[i] == 0) place_signal(signals[i], std::nullopt);
      while (stations_left > 0) {
        place_station(slots[--stations_left]);
        for (size_t i = signals.size(); i-- > 0;)
          if (!placed[i] && under_exit[i] == slots[stations_left]) place_signal(signals[i], std::nullopt);
      }
      signals_left = 0;
    }
    std::reverse(order.begin(), order.end());
  }

  std::vector<Item> order;  // first row first
  bool stuck = false;

 private:
  // The aspect modulo 128 that the cells still undecided tell (none when they tell nothing),
  // or nothing when they disagree.
  std::optional<std::optional<int64_t>> signal_fits(int64_t c) const {
    std::optional<int64_t> aspect;
    for (int k = 1; k <= kApproachCodeCount; ++k) {
      const int64_t a = signal_approach_cell(c, k);
      if (!has_cell(s_, a) || settled_[static_cast<size_t>(a)]) continue;
      const int64_t d = (int64_t{cell_at(s_, a).approach} - k + 256) % 256;
      if (d % 2 != 0) return std::nullopt;
      const int64_t m = d / 2 * 77 % 128;  // 77 × 5 = 1 modulo 128
      if (aspect && *aspect != m) return std::nullopt;
      aspect = m;
    }
    return aspect;
  }
  void place_signal(int64_t c, std::optional<int64_t> aspect) {
    for (int k = 1; k <= kApproachCodeCount; ++k) settle(signal_approach_cell(c, k));
    order.push_back({false, 0, c, aspect});
  }

  template <typename Visit>
  void for_station_codes(int slot, Visit visit) const {
    const SimRecord& r = s_.records[static_cast<size_t>(slot)];
    if (!writes_station_approach_codes(r.station_type)) return;
    const int64_t exit = station_exit_cell(r.end_m);
    for (int k = 1; k <= kApproachCodeCount; ++k) {
      const int64_t a = station_approach_cell(exit, k);
      if (takes_station_approach_code(a) && has_cell(s_, a)) visit(a, station_approach_code(k));
    }
  }
  bool station_fits(int slot) const {
    bool fits = true;
    for_station_codes(slot, [&](int64_t a, uint8_t code) {
      fits = fits && (settled_[static_cast<size_t>(a)] || cell_at(s_, a).approach == code);
    });
    return fits;
  }
  void place_station(int slot) {
    for_station_codes(slot, [&](int64_t a, uint8_t) { settle(a); });
    order.push_back({true, slot, 0, std::nullopt});
  }

  void settle(int64_t a) {
    if (has_cell(s_, a)) settled_[static_cast<size_t>(a)] = true;
  }

  const CompiledScenario& s_;
  std::vector<bool> settled_;
};

// Stations, then slowdowns, signals and code reductions, as the built-in source has them;
// where a row must come earlier, it stands among the stations: a signal whose codes a
// later station's would otherwise cover, a station whose codes stand over a signal's, and
// any row whose feature lies under a station's exit, just before that station.
void station_slowdown_and_signal_rows(const CompiledScenario& s, const std::vector<PlacedRow>& slowdowns,
                                      const std::set<int64_t>& hidden, SourceText& text, Remarks& remarks) {
  const std::vector<int> slots = station_slots(s, remarks);
  std::vector<int64_t> signals;
  std::vector<int> under_exit;
  for (int64_t c = 0; c <= s.last_cell(); ++c) {
    if (!holds(s, c, kSignal) && !hidden.contains(c)) continue;
    if (!s.row_fits((c - 1) * kCell_m)) {
      remarks.push_back(cell_name(c) + ": a signal too near the end of the route for a row");
      continue;
    }
    signals.push_back(c);
    under_exit.push_back(hidden.contains(c) ? cell_at(s, c).value1 : 0);
  }
  const RowOrder rows(s, slots, signals, under_exit);
  if (rows.stuck) remarks.push_back("approach codes that no order of the station and signal rows gives");

  size_t among_stations = 0;  // the rows up to the last station
  for (size_t i = 0; i < rows.order.size(); ++i)
    if (rows.order[i].station) among_stations = i + 1;
  text.line("[stazioni]");
  for (size_t i = 0; i < among_stations; ++i) {
    const RowOrder::Item& item = rows.order[i];
    if (!item.station) {
      text.line(signal_row(s, item.cell, item.aspect_mod_128));
      continue;
    }
    for (const PlacedRow& row : slowdowns)
      if (row.before_slot == item.slot) text.line(row.text);
    text.line(station_row(item.slot, s.records[static_cast<size_t>(item.slot)], remarks));
  }
  text.line("[rallentamenti]");
  for (const PlacedRow& row : slowdowns)
    if (row.before_slot == 0 || std::find(slots.begin(), slots.end(), row.before_slot) == slots.end())
      text.line(row.text);
  text.line("[segnali]");
  for (size_t i = among_stations; i < rows.order.size(); ++i)
    text.line(signal_row(s, rows.order[i].cell, rows.order[i].aspect_mod_128));
}

void code_reduction_rows(const std::vector<CodeReductionRow>& codes, SourceText& text) {
  text.line("[codici]");
  for (const CodeReductionRow& code : codes) {
    // A value above 0 gives kind 12 with its low 16 bits; 0 gives kind 13.
    int64_t value = 0;
    if (code.kind == kCodeReduction) value = code.value > 0 ? code.value : code.value + 65536;
    text.line(write_code_reduction_row({code.cell * kCell_m, value}));
  }
}

}  // namespace

std::string recover_service_source(const CompiledScenario& scenario, const RecoveredSlowdowns& slowdowns,
                                   const std::set<int64_t>& signals_under_exit,
                                   const std::vector<CodeReductionRow>& codes, Remarks& remarks) {
  SourceText text;
  general_rows(scenario, text);
  fill_rows(scenario, text);
  station_slowdown_and_signal_rows(scenario, slowdowns.rows, signals_under_exit, text, remarks);
  code_reduction_rows(codes, text);
  text.line("[fine]");
  return text.bytes();
}

}  // namespace scenario
