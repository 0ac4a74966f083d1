#include "tests/scenario_generator.hpp"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "schema/field_reader.hpp"
#include "schema/row_schema.hpp"
#include "schema/row_tables.hpp"
#include "compiler/row_relations.hpp"
#include "model/format_rules.hpp"
#include "model/rounding.hpp"
#include "model/track_cell.hpp"

namespace scenario::testing {
namespace {

constexpr int32_t kBlock = 5000;

class Writer {
 public:
  explicit Writer(uint32_t seed) : random_(seed) {}

  int64_t pick(int64_t low, int64_t high) { return std::uniform_int_distribution<int64_t>(low, high)(random_); }
  bool chance(int percent) { return pick(1, 100) <= percent; }
  template <typename T>
  T one_of(std::initializer_list<T> values) {
    return *(values.begin() + pick(0, static_cast<int64_t>(values.size()) - 1));
  }

 private:
  std::mt19937 random_;
};

std::string n(int64_t value) { return std::to_string(value); }

// The cell of a station's exit, as the compiler places it.
int64_t exit_cell(int64_t position, int64_t type, int64_t length, int64_t p6) {
  return station_exit_cell(station_area(position, static_cast<uint8_t>(type), length, p6 != 0).end_m);
}

// Writes the rows through the row schema: a row is its keyword and its fields as the schema
// lays them out (source_row refuses a row that the readers would not read back as one of
// that many fields), each field after two blanks; a header is one the schema names. Every
// row written reads back as the row its keyword names, with each of that row's fields and
// nothing more on its line, and keeps every relation with the rows before it: the generator
// and the readers cannot disagree on a row.
class RowWriter {
 public:
  void operator()(std::string& out, std::string_view keyword, std::vector<std::string> fields, char separator = ',') {
    for (std::string& field : fields) field.insert(0, "  ");
    const std::string text = source_row(keyword, fields, separator);
    check_row(text);
    out += text + "\r\n";
  }
  // The header the built-in sources lay the rows of `keyword` under.
  void header_of(std::string& out, std::string_view keyword) { header(out, find_row(keyword)->header); }
  void header(std::string& out, std::string_view header) { out += std::string(header) + "\r\n"; }

 private:
  void check_row(std::string_view text) {
    FieldReader reader(text);
    const RowText* read_as = row_read_as(reader.read_text());
    std::vector<std::string> texts;
    texts.reserve(read_as->fields.size());  // the fields view them
    std::vector<WrittenField> fields;
    for (const RowField& field : read_as->fields) {
      switch (field.type) {
        case FieldType::kLong: fields.push_back({reader.read_long(), {}}); break;
        case FieldType::kInteger: fields.push_back({reader.read_integer(), {}}); break;
        case FieldType::kByte: fields.push_back({reader.read_byte(), {}}); break;
        case FieldType::kText:
          texts.push_back(reader.read_text());
          fields.push_back({0, texts.back()});
          break;
      }
    }
    if (!reader.at_end()) throw std::logic_error("a generated row with a field too many: " + std::string(text));
    const std::vector<BrokenRelation> broken = relations_.row(*read_as, fields);
    if (!broken.empty())
      throw std::logic_error("a generated row that breaks W" + std::to_string(warning_number(broken[0].warning)) +
                             " (" + broken[0].message + "): " + std::string(text));
  }

  RelationWatch relations_;
};

}  // namespace

GeneratedScenario generate_scenario(uint32_t seed, int32_t length_m) {
  Writer w(seed);
  GeneratedScenario s;
  const int32_t blocks = length_m / kBlock;
  const int64_t last_cell = cell_of_position(int64_t{length_m} + kRouteExtension_m);
  // The last position a row may take.
  const int64_t last_row_m = kCellLength_m * last_cell - kEndMargin_m;
  // A route under a kilometre keeps its rows on the route: past it, its length would read
  // as written in kilometres.
  const int64_t reach_m = length_m < 1000 ? 50 * (length_m / 50) : last_row_m;
  RowWriter row;
  // The shapes whose rows decide what a cell keeps are drawn apart, so that the rows above
  // come out as they always have for a seed.
  Writer x(seed ^ 0x5bd1e995u);
  struct Planned {
    int64_t type = 0, length = 0, p6 = 0, exit = 0;
    bool board_under_exit = false;     // speed-limit boards the exit then takes
    bool slowdown_under_exit = false;  // a slowdown whose warning board the exit takes
    bool indicator_under_exit = false; // an indicator board whose cell the exit takes
    bool signal_under_exit = false;    // a signal, with or without a time, whose cell the exit takes
    bool signal_first = false;         // the signal after the exit written before the station
    bool start_under_exit = false;     // a slowdown whose start the exit takes
    bool end_under_exit = false;       // a slowdown whose end the exit takes
  };
  std::vector<std::optional<Planned>> planned(static_cast<size_t>(std::max(blocks, 0)));
  for (int32_t b = 0; b < blocks && b < 80; b += 2) {
    if (!x.chance(50)) continue;
    Planned p;
    p.type = b == 0 ? 8 : x.one_of({2, 4, 5, 7, 11, 12, 22});
    p.length = 100 * x.pick(1, 8);
    p.p6 = x.pick(0, 1);
    p.exit = exit_cell(b * kBlock + 2500, p.type, p.length, p.p6);
    const int64_t under = x.pick(0, 6);
    p.board_under_exit = under == 1;
    p.slowdown_under_exit = under == 2;
    p.indicator_under_exit = under == 3;
    p.signal_under_exit = under == 4;
    p.start_under_exit = under == 5;
    p.end_under_exit = under == 6;
    p.signal_first = x.chance(50);
    planned[static_cast<size_t>(b)] = p;
  }
  // What stands in cell 0, if anything: boards 25 to 75 m before the start, a mountain
  // stretch, a slowdown starting there, or a code reduction.
  const int64_t cell_0 = blocks > 0 ? x.pick(0, 5) : 0;

  std::string& l = s.line;
  row.header(l, rows::kGeneralHeader);
  row(l, "lunghezza percorso", {n(length_m)});
  for (const char* word : {"uno", "due", "tre"}) {
    if (w.chance(20)) continue;
    row(l, std::string("progressiva chilometrica ") + word,
        {n(50 * w.pick(0, length_m / 50)), n(50 * w.pick(-2000, 2000)), n(w.pick(0, 1))});
  }
  row(l, "sfondo uno", {n(w.pick(0, 9))});
  row(l, "sfondo due", {n(w.pick(0, 90000))});
  row(l, "sfondo tre", {n(w.pick(0, 90000))});
  const std::string repetition = std::string("ripetizione segnali ") + (w.chance(50) ? "4" : "9") + " codici";
  row(l, repetition, {n(std::min<int64_t>(50 * w.pick(0, 200), reach_m)), n(w.chance(20) ? 0 : 50 * w.pick(200, 2000))});

  row.header_of(l, "curvad1");
  int64_t curve_end = 0;
  for (int32_t b = 0; b < blocks; ++b) {
    int64_t at = b * kBlock + w.pick(0, 40) * 50;
    for (int i = 0; i < 2 && at < (b + 1) * kBlock - 1600; ++i) {
      if (w.chance(30)) continue;
      const int64_t start = std::max(at, curve_end);
      const int64_t length = w.pick(1, 1500);
      const std::string keyword = std::string("curva") + (w.chance(50) ? "s" : "d") + n(w.pick(1, 6));
      row(l, keyword, {n(start), n(length)});
      curve_end = start + length;
      at = w.chance(50) ? curve_end : curve_end + w.pick(1, 300);  // back to back or apart
    }
  }

  // Two curves back to back, the second running into the last cells where no row may stand.
  if (blocks > 0 && x.chance(30)) {
    row(l, "curvad3", {n(last_row_m - 300), "200"});
    row(l, "curvas5", {n(last_row_m - 100), "160"});
  }
  row.header_of(l, "pendenza");
  for (int64_t m = 0; m <= reach_m - 600; m += w.pick(6, 30) * 50)
    row(l, "pendenza", {n(m), n(w.chance(5) ? w.one_of({-100, 155}) : w.pick(-30, 30))});
  // Rows at the last position a row may take push the fill into the last three cells.
  for (int64_t i = w.pick(0, 3); i > 0; --i) row(l, "pendenza", {n(reach_m), n(w.pick(-30, 30))});

  row.header_of(l, "montagna");
  if (cell_0 == 5) row(l, "montagna", {"0", n(50 * x.pick(2, 9)), n(x.pick(0, 19))});
  for (int32_t b = 1; b < blocks; b += 2) {
    const int64_t start = b * kBlock + 50 * w.pick(0, 4);
    const int64_t end = start + 50 * w.pick(2, 15);
    const int64_t type = w.pick(0, 9) + (w.chance(50) ? 10 : 0);
    row(l, "montagna", {n(start), n(end), n(type)});
    if (w.chance(50)) {  // a follower within 150 m takes type 3
      const int64_t follower = end + 50 * w.pick(0, 3);
      row(l, "montagna", {n(follower), n(follower + 50 * w.pick(1, 8)), n(w.pick(0, 19))});
    } else if (x.chance(40)) {  // one further on keeps its own type
      const int64_t further = end + 50 * x.pick(4, 10);
      row(l, "montagna", {n(further), n(further + 50 * x.pick(1, 10)), n(x.pick(0, 19))});
    }
  }

  row.header_of(l, "indicatori_vmax");
  if (cell_0 == 1) row(l, "indicatori_vmax", {n(x.one_of({-75, -50, -25})), "30", "30", "30", "0", "", "", "", "0"});
  for (int32_t b = 0; b < blocks; ++b) {
    const auto& p = planned[static_cast<size_t>(b)];
    if (p && p->board_under_exit)
      row(l, "indicatori_vmax", {n(50 * (p->exit - 1)), "60", n(5 * x.pick(0, 32)), "40", n(x.pick(0, 2)), "", "", "", "0"});
  }
  // The last cells: a board at the last position a row may take.
  if (blocks > 0) row(l, "indicatori_vmax", {n(last_row_m), "40", "40", "40", "1", "", "", "", "0"});
  for (int32_t b = 0; b < blocks; ++b) {
    // Within the first kilometre, over a mountain stretch's markers in odd blocks.
    const int64_t at = b * kBlock + 50 * w.pick(2, 8);
    std::vector<std::string> board = {n(at)};
    for (int i = 0; i < 3; ++i) board.push_back(n(5 * w.pick(1, 32)));
    board.push_back(n(w.pick(0, 2)));
    if (w.chance(50)) {
      board.insert(board.end(), {"", "", "", "0"});
    } else {
      for (int i = 0; i < 3; ++i) board.push_back(n(5 * w.pick(0, 32)));
      board.push_back(n(w.pick(0, 2)));
    }
    row(l, "indicatori_vmax", board);
  }
  row.header_of(l, "cartello_indicatore");
  for (int32_t b = 0; b < blocks; ++b) {
    const auto& p = planned[static_cast<size_t>(b)];
    if (p && p->indicator_under_exit) row(l, "cartello_indicatore", {n(50 * (p->exit - 1)), "SOTTO " + n(b)});
  }
  if (cell_0 == 2) row(l, "cartello_indicatore", {"-50", "INIZIO"});
  for (int32_t b = 0; b < blocks && b < 70; b += 2) {
    const int64_t at = b * kBlock + 1000 + 50 * w.pick(0, 4);
    row(l, "cartello_indicatore",
        {n(at), w.one_of<std::string>({"(Km. " + n(b) + ")", "\"Bivio, Nord\"", "", "PL 12", "CANT\xd9"})});
  }
  row.header(l, rows::kEndHeader);

  std::string& v = s.service;
  row.header(v, rows::kGeneralHeader);
  row(v, "numero vetture", {n(w.pick(1, 20))});
  row(v, "percentuale massa frenata", {n(w.pick(50, 160))});
  row(v, "sabbia", {n(w.pick(0, 500))});
  row(v, "orologio", {n(w.pick(0, 23)), n(w.pick(0, 59)), n(w.pick(0, 59))}, ' ');
  row.header_of(v, "aderenza");
  for (int64_t m = 0; m <= reach_m; m += w.pick(20, 80) * 50) row(v, "aderenza", {n(m), n(w.pick(60, 100))});
  row.header_of(v, "velocita");
  // The line speed in force at a position, so that no slowdown is faster.
  std::vector<std::pair<int64_t, int64_t>> line_speeds;
  for (int64_t m = 0; m <= reach_m; m += w.pick(20, 80) * 50) {
    line_speeds.emplace_back(m, w.pick(6, 40) * 5 - w.pick(0, 2));
    row(v, "velocita", {n(m), n(line_speeds.back().second)});
  }
  const auto slower = [&](int64_t at, int64_t speed) {
    for (const auto& [position, line_speed] : line_speeds)
      if (position <= at) speed = std::min(speed, line_speed);
    return speed;
  };

  const auto signal = [&](Writer& r, int64_t at) {
    std::vector<std::string> fields = {n(at), n(r.pick(0, 2))};
    for (int i = 0; i < 4; ++i) fields.push_back(n(r.pick(0, 4)));
    fields.push_back(n(r.pick(0, 2)));
    for (int i = 0; i < 3; ++i) fields.push_back(n(r.pick(0, 2)));
    fields.push_back(n(r.one_of({0, 30, 101, 120, 240, 300})));
    row(v, "segnale", fields);
  };

  row.header_of(v, "stazione");
  int64_t clock_s = 6 * 3600;
  for (int32_t b = 0; b < blocks && b < 80; b += 2) {
    const auto& p = planned[static_cast<size_t>(b)];
    int64_t type = b == 0 ? 8 : w.one_of({2, 4, 5, 6, 7, 8, 11, 12, 22, 25, 30});
    int64_t length = 100 * w.pick(1, 8);
    if (p) type = p->type, length = p->length;
    std::vector<std::string> station = {n(b * kBlock + 2500), n(type), n(length)};
    for (int i = 4; i <= 13; ++i) {
      const int64_t value = w.pick(0, 9);
      station.push_back(n(p && i == 6 ? p->p6 : value));
    }
    // Timetable times that run on along the route, a few minutes a station.
    const int64_t hour = w.pick(0, 23), minute = w.pick(0, 59), second = w.pick(0, 59);
    clock_s += 60 * (1 + (hour + minute) % 10) + second;
    station.insert(station.end(), {n(clock_s / 3600), n(clock_s / 60 % 60), n(clock_s % 60),
                                   w.one_of<std::string>({"STAZIONE " + n(b), "\"PIAZZA, BASSA\"", "BIVIO"})});
    if (p && x.chance(30)) station.back() += x.one_of<std::string>({" FORL\xcc", " SANTHI\xc0"});
    if (p && p->slowdown_under_exit) {
      // Its warning board in the exit's cell, its approach boards before: its start cell,
      // one past the cell of its start, is the warning board's distance further on.
      const int64_t start = kCellLength_m * (p->exit + kSlowdownWarningCells - 1);
      row(v, "rallentamento", {n(start), n(slower(start, 80)), n(50 * std::max<int64_t>(1, x.pick(0, 2))), "1",
                               n(x.pick(0, 1)), n(x.pick(0, 40))});
    }
    if (p && p->signal_under_exit) {
      const int64_t sx = x.one_of({2, 2, 1, 0});
      row(v, "segnale", {n(50 * (p->exit - 1)), n(sx), "1", n(x.pick(0, 4)), n(x.pick(0, 4)), n(x.pick(0, 4)),
                         n(x.pick(0, 2)), n(x.pick(0, 1)), "0", n(x.pick(0, 1)), n(x.one_of({0, 30, 120, 240}))});
    }
    if (p && (p->start_under_exit || p->end_under_exit)) {
      // A start under the exit ends past the signal that stands in the cell after it.
      const int64_t stretch = 50 * (p->start_under_exit ? x.pick(2, 4) : x.pick(1, 3));
      const int64_t start = p->start_under_exit ? 50 * (p->exit - 1) : 50 * (p->exit - 1) - stretch;
      row(v, "rallentamento", {n(start), n(slower(start, x.one_of({30, 60, 100}))), n(stretch), n(x.pick(0, 2)), "0",
                               n(x.one_of({0, 0, 7, 90}))});
    }
    // Its approach codes then stand over the signal's in every other cell.
    if (p && p->signal_first) signal(x, 50 * p->exit);
    row(v, "stazione", station);
  }

  row.header_of(v, "rallentamento");
  if (cell_0 == 3) row(v, "rallentamento", {"-50", "30", n(x.one_of({100, 150})), "0", "1", n(x.pick(0, 5))});
  for (int32_t b = 1; b < blocks; b += 2) {
    const int64_t at = b * kBlock + 2600 + w.pick(0, 20);
    const int64_t speed = slower(at, w.one_of({30, 60, 80, 100, 110, 140}));
    const int64_t length = w.chance(10) ? 50 : 50 * w.pick(2, 24);
    const int64_t f_tt = w.pick(0, 3);
    const int64_t f_ta = w.pick(0, 1);
    const int64_t d_v = w.chance(50) ? 0 : w.pick(1, 160);
    const int64_t shape = x.pick(0, 9);
    row(v, "rallentamento", {n(at), n(speed), n(length), n(f_tt), n(f_ta), n(d_v)});
    // One of the same values inside it, without approach boards.
    if (shape == 1 && length >= 300) row(v, "rallentamento", {n(at + 100), n(speed), "50", n(f_tt), "0", n(d_v)});
  }

  row.header_of(v, "segnale");
  for (int32_t b = 0; b < blocks; ++b) {
    const auto& p = planned[static_cast<size_t>(b)];
    // Its codes stand over the station's in every other cell.
    if (p && !p->signal_first) signal(x, 50 * p->exit);
    if (b % 2 == 1) signal(w, b * kBlock + 1000);  // in front of the slowdown's warning board
    // Not where a slowdown under a station's exit ends.
    const bool clear = !p || !p->slowdown_under_exit;
    signal(clear ? w : x, clear ? b * kBlock + 4400 : b * kBlock + 4750);
    // Over the approach codes before it.
    if (w.chance(30) && clear) signal(w, b * kBlock + 4500 + 50 * w.pick(0, 1));
  }
  if (blocks == 0) {
    for (int64_t at = 400; at + 100 <= reach_m; at += 350) signal(w, at);
  }
  // The last cells: signals up to the last position a row may take but one, a slowdown
  // ending in the last cell.
  if (blocks > 0) {
    signal(x, last_row_m - 50 * x.pick(1, 3));
    const int64_t start = last_row_m - 1000 - 50 * x.pick(0, 10);
    row(v, "rallentamento", {n(start), n(slower(start, 60)), n(50 * (last_cell - 1) - start), "0", "1", "0"});
  }

  row.header_of(v, "abbattimento");
  if (cell_0 == 4) {
    const int64_t at = x.one_of({0, 25});
    row(v, "abbattimento", {n(at), n(x.pick(0, 300))});
  }
  for (int32_t b = 0; b < blocks; ++b) {
    row(v, "abbattimento", {n(b * kBlock + 4700), n(w.one_of({270, 180, 0, -5, 40000}))});
    // Where the walk would place the first approach point of the slowdown.
    if (b % 2 == 1 && w.chance(50)) row(v, "abbattimento", {n(b * kBlock + 2400), n(w.pick(1, 300))});
  }
  row.header(v, rows::kEndHeader);
  return s;
}

}  // namespace scenario::testing
