#include "decompile/service_source_recovery.hpp"

#include <algorithm>
#include <optional>
#include <set>

#include "decompile/fill_recovery.hpp"
#include "decompile/source_text.hpp"

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
  text.line("numero vetture,    " + std::to_string(service.position_m));
  text.line("percentuale massa frenata,    " + std::to_string(service.start_m));
  text.line("sabbia,    " + std::to_string(header.p7));
  text.line("orologio,    " + std::to_string(header.p10) + "              " + std::to_string(header.p11) +
            "            " + std::to_string(header.p12) + " ");
}

void fill_rows(const CompiledScenario& s, SourceText& text) {
  text.line("[aderenze]");
  for (const FillRow& row : recover_fill(s.cells, &TrackCell::adhesion))
    text.line("aderenza," + column(row.cell * kCell_m, 8) + "," + column(row.value, 6));
  text.line("[vel_limite]");
  for (const FillRow& row : recover_fill(s.cells, &TrackCell::speed_limit))
    text.line("velocita," + column(row.cell * kCell_m, 8) + "," + column(row.value * kSpeedStep_kmh, 6));
}

// The number of indicator boards, whose texts take the records from 80 downward.
int indicator_boards(const CompiledScenario& s) {
  std::set<int16_t> slots;
  for (const TrackCell& cell : s.cells)
    if (cell.kind == kIndicatorBoard) slots.insert(cell.value1);
  return static_cast<int>(slots.size());
}

bool is_short_platform_type(uint8_t type) { return type == 5 || type == 6; }
bool is_terminus_type(uint8_t type) { return type == 7 || type == 8; }

std::string station_row(int slot, const SimRecord& r, Remarks& remarks) {
  const int64_t position = r.position_m;
  const int64_t before = position - r.start_m;
  const uint8_t type = r.station_type;
  const bool one_sided = is_short_platform_type(type) || is_terminus_type(type);
  // Other types take half the length on either side, and 50 m more at the end with p6.
  const int64_t length = one_sided ? before : 2 * before;
  int64_t p6 = one_sided ? 0 : r.p6;
  if (!one_sided && p6 == 0 && int64_t{r.end_m} - position - before == 50) p6 = 1;  // cleared in the first slot
  const int64_t hours = r.time_s / 3600;
  const int64_t minutes = r.time_s % 3600 / 60;
  const int64_t seconds = r.time_s % 60;
  const std::optional<std::string> name = text_field(r.text);
  if (!name) remarks.push_back("record " + std::to_string(slot) + ": a station name that no text field reads as");
  return "stazione," + column(position, 8) + "," + column(type, 3) + "," + column(length, 5) + "," + column(r.p4, 3) +
         "," + column(r.p5, 2) + "," + column(p6, 2) + "," + column(r.p7, 3) + "," + std::to_string(r.p8) + "," +
         std::to_string(r.p9) + "," + column(r.p10, 3) + "," + std::to_string(r.p11) + "," + std::to_string(r.p12) +
         "," + column(r.p13, 5) + "," + column(hours, 4) + "," + column(minutes, 2) + "," + column(seconds, 2) + ", " +
         name.value_or("");
}

void station_rows(const CompiledScenario& s, SourceText& text, Remarks& remarks) {
  text.line("[stazioni]");
  // Stations fill the records from 1 upward, up to the first board text.
  const int first_board_slot = kFirstBoardTextSlot + 1 - indicator_boards(s);
  int slot = kFirstStationSlot;
  for (; slot < first_board_slot && s.records[static_cast<size_t>(slot)] != SimRecord{}; ++slot)
    text.line(station_row(slot, s.records[static_cast<size_t>(slot)], remarks));
  for (; slot < first_board_slot; ++slot)
    if (s.records[static_cast<size_t>(slot)] != SimRecord{})
      remarks.push_back("record " + std::to_string(slot) + ": a station after an empty record, which no row fills");
}

// Slowdowns from their start cells: the end cell with the same values after the start (the
// start's own cell for a length of 0), the warning board 24 cells before the start and the
// four approach boards before that.
void slowdown_rows(const CompiledScenario& s, SourceText& text, Remarks& remarks) {
  text.line("[rallentamenti]");
  std::set<int64_t> used;
  const auto same_values = [&](int64_t a, int64_t b) {
    return cell_at(s, a).value1 == cell_at(s, b).value1 && cell_at(s, a).value2 == cell_at(s, b).value2 &&
           cell_at(s, a).value3 == cell_at(s, b).value3;
  };
  for (int64_t start = 0; start <= s.last_cell(); ++start) {
    if (!holds(s, start, kSlowdownStart)) continue;
    const TrackCell& cell = cell_at(s, start);
    int64_t end = start;
    for (int64_t c = start + 1; c <= s.last_cell(); ++c) {
      if (holds(s, c, kSlowdownEnd) && !used.contains(c) && same_values(start, c)) {
        end = c;
        break;
      }
    }
    used.insert(end);
    const int64_t warning = start - 24;
    // From 1500 m a slowdown has its warning board; a start in cell 31 has one only from 1501 m.
    const bool warned = start > 31 || (start == 31 && holds(s, warning, kSlowdownWarningBoard));
    int64_t x = (start - 1) * kCell_m;
    if (start == 31 && warned) x = 1501;
    int f_ta = 0;
    if (warned) {
      used.insert(warning);
      f_ta = 1;
      for (int i = 0; i < 4; ++i)
        f_ta = f_ta && holds(s, warning - 1 - i, kApproachBoard) && cell_at(s, warning - 1 - i).value1 == i + 1;
      for (int i = 0; f_ta && i < 4; ++i) used.insert(warning - 1 - i);
    }
    if (!s.row_fits(x)) {
      remarks.push_back(cell_name(start) + ": a slowdown too near the end of the route for a row");
      continue;
    }
    text.line("rallentamento," + column(x, 8) + "," + column(cell.value1, 6) + "," + column((end - start) * kCell_m, 5) +
              "," + column(cell.value3, 2) + "," + column(f_ta, 3) + "," + column(cell.value2, 4));
  }
  for (int64_t c = 0; c <= s.last_cell(); ++c) {
    const uint8_t kind = cell_at(s, c).kind;
    if ((kind == kSlowdownEnd || kind == kSlowdownWarningBoard || kind == kApproachBoard) && !used.contains(c))
      remarks.push_back(cell_name(c) + ": a " + cell_kind_name(kind) + " of no slowdown");
  }
}

// The aspect code sx × 3 + dx of the signal in cell c, from the approach code that the
// signal wrote in front of it and no later signal wrote over (k = 1 in c − 2, up to 4 in
// c − 8): the code is (aspect × 10 + k) in a byte, which tells the aspect modulo 128.
std::optional<int64_t> aspect_modulo_128(const CompiledScenario& s, int64_t c, const std::set<int64_t>& written_later) {
  for (int k = 1; k <= 4; ++k) {
    const int64_t a = c - 2 * k;
    if (!has_cell(s, a) || written_later.contains(a)) continue;
    const int64_t d = (int64_t{cell_at(s, a).approach} - k + 256) % 256;
    if (d % 2 != 0) return std::nullopt;
    return d / 2 * 77 % 128;  // 77 × 5 = 1 modulo 128
  }
  return std::nullopt;
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
  return "segnale," + column((c - 1) * kCell_m, 8) + "," + column(sx, 4) + "," + column(cell.value1 / 10, 2) + "," +
         column(cell.value2 / 10, 2) + "," + column(cell.value3 / 10, 3) + "," + column(rapp, 2) + "," +
         column(dx, 5) + "," + column(cell.value1 % 10, 3) + "," + std::to_string(cell.value2 % 10) + "," +
         std::to_string(cell.value3 % 10) + ", " + std::to_string(tempo);
}

void signal_rows(const CompiledScenario& s, SourceText& text, Remarks& remarks) {
  text.line("[segnali]");
  std::vector<int64_t> signals;
  for (int64_t c = 0; c <= s.last_cell(); ++c)
    if (holds(s, c, kSignal)) signals.push_back(c);
  // Later rows write over the approach codes of earlier ones: read them from the last back.
  std::vector<std::optional<int64_t>> aspects(signals.size());
  std::set<int64_t> written_later;
  for (size_t i = signals.size(); i-- > 0;) {
    aspects[i] = aspect_modulo_128(s, signals[i], written_later);
    for (int k = 1; k <= 4; ++k) written_later.insert(signals[i] - 2 * k);
  }
  for (size_t i = 0; i < signals.size(); ++i) {
    if (!s.row_fits((signals[i] - 1) * kCell_m)) {
      remarks.push_back(cell_name(signals[i]) + ": a signal too near the end of the route for a row");
      continue;
    }
    text.line(signal_row(s, signals[i], aspects[i]));
  }
}

void code_reduction_rows(const std::vector<CodeReductionRow>& codes, SourceText& text) {
  text.line("[codici]");
  for (const CodeReductionRow& code : codes) {
    // A value above 0 gives kind 12 with its low 16 bits; 0 gives kind 13.
    int64_t value = 0;
    if (code.kind == kCodeReduction) value = code.value > 0 ? code.value : code.value + 65536;
    text.line("abbattimento," + column(code.cell * kCell_m, 8) + "," + column(value, 6));
  }
}

}  // namespace

std::string recover_service_source(const CompiledScenario& scenario, const std::vector<CodeReductionRow>& codes,
                                   Remarks& remarks) {
  SourceText text;
  general_rows(scenario, text);
  fill_rows(scenario, text);
  station_rows(scenario, text, remarks);
  slowdown_rows(scenario, text, remarks);
  signal_rows(scenario, text, remarks);
  code_reduction_rows(codes, text);
  text.line("[fine]");
  return text.bytes();
}

}  // namespace scenario
