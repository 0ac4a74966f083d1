#include "tests/scenario_generator.hpp"

#include <algorithm>
#include <vector>

#include "model/rounding.hpp"

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
void row(std::string& out, const std::string& text) { out += text + "\r\n"; }

}  // namespace

GeneratedScenario generate_scenario(uint32_t seed, int32_t length_m) {
  Writer w(seed);
  GeneratedScenario s;
  const int32_t blocks = length_m / kBlock;
  const int64_t last_cell = cell_of_position(int64_t{length_m} + 7000);
  const int64_t last_row_m = 50 * (last_cell - 2);

  std::string& l = s.line;
  row(l, "[generale]");
  row(l, "lunghezza percorso,    " + n(length_m));
  for (const char* word : {"uno", "due", "tre"}) {
    if (w.chance(20)) continue;
    row(l, std::string("progressiva chilometrica ") + word + ",    " + n(50 * w.pick(0, length_m / 50)) + ",    " +
               n(50 * w.pick(-2000, 2000)) + ",    " + n(w.pick(0, 1)));
  }
  row(l, "sfondo uno,    " + n(w.pick(0, 9)));
  row(l, "sfondo due,    " + n(w.pick(0, 90000)));
  row(l, "sfondo tre,    " + n(w.pick(0, 90000)));
  row(l, std::string("ripetizione segnali ") + (w.chance(50) ? "4" : "9") + " codici,    " +
             n(50 * w.pick(0, 200)) + ",    " + n(w.chance(20) ? 0 : 50 * w.pick(200, 2000)));

  row(l, "[curve]");
  int64_t curve_end = 0;
  for (int32_t b = 0; b < blocks; ++b) {
    int64_t at = b * kBlock + w.pick(0, 40) * 50;
    for (int i = 0; i < 2 && at < (b + 1) * kBlock - 1600; ++i) {
      if (w.chance(30)) continue;
      const int64_t start = std::max(at, curve_end);
      const int64_t length = w.pick(1, 1500);
      row(l, std::string("curva") + (w.chance(50) ? "s" : "d") + n(w.pick(1, 6)) + ",  " + n(start) + ",  " + n(length));
      curve_end = start + length;
      at = w.chance(50) ? curve_end : curve_end + w.pick(1, 300);  // back to back or apart
    }
  }

  row(l, "[pendenze]");
  for (int64_t m = 0; m <= last_row_m - 600; m += w.pick(6, 30) * 50)
    row(l, "pendenza,  " + n(m) + ",   " + n(w.chance(5) ? w.one_of({-100, 155}) : w.pick(-30, 30)));
  // Rows at the last position a row may take push the fill into the last three cells.
  for (int64_t i = w.pick(0, 3); i > 0; --i) row(l, "pendenza,  " + n(last_row_m) + ",   " + n(w.pick(-30, 30)));

  row(l, "[montagne]");
  for (int32_t b = 1; b < blocks; b += 2) {
    const int64_t start = b * kBlock + 50 * w.pick(0, 4);
    const int64_t end = start + 50 * w.pick(2, 15);
    const int64_t type = w.pick(0, 9) + (w.chance(50) ? 10 : 0);
    row(l, "montagna,   " + n(start) + ",  " + n(end) + ",  " + n(type));
    if (w.chance(50)) {  // a follower within 150 m takes type 3
      const int64_t follower = end + 50 * w.pick(0, 3);
      row(l, "montagna,   " + n(follower) + ",  " + n(follower + 50 * w.pick(1, 8)) + ",  " + n(w.pick(0, 19)));
    }
  }

  row(l, "[cartelli]");
  for (int32_t b = 0; b < blocks; ++b) {
    // Within the first kilometre, over a mountain stretch's markers in odd blocks.
    const int64_t at = b * kBlock + 50 * w.pick(2, 8);
    std::string board = "indicatori_vmax,  " + n(at);
    for (int i = 0; i < 3; ++i) board += ",  " + n(5 * w.pick(1, 32));
    board += ",  " + n(w.pick(0, 2));
    if (w.chance(50)) {
      board += ",  ,  ,  ,  0";
    } else {
      for (int i = 0; i < 3; ++i) board += ",  " + n(5 * w.pick(0, 32));
      board += ",  " + n(w.pick(0, 2));
    }
    row(l, board);
  }
  row(l, "[indicazioni]");
  for (int32_t b = 0; b < blocks && b < 70; b += 2)
    row(l, "cartello_indicatore,  " + n(b * kBlock + 1000 + 50 * w.pick(0, 4)) + ",   " +
               w.one_of<std::string>({"(Km. " + n(b) + ")", "\"Bivio, Nord\"", "", "PL 12"}));
  row(l, "[fine]");

  std::string& v = s.service;
  row(v, "[generale]");
  row(v, "numero vetture,    " + n(w.pick(1, 20)));
  row(v, "percentuale massa frenata,    " + n(w.pick(50, 160)));
  row(v, "sabbia,    " + n(w.pick(0, 500)));
  row(v, "orologio,    " + n(w.pick(0, 23)) + "  " + n(w.pick(0, 59)) + "  " + n(w.pick(0, 59)));
  row(v, "[aderenze]");
  for (int64_t m = 0; m <= last_row_m; m += w.pick(20, 80) * 50) row(v, "aderenza,   " + n(m) + ",   " + n(w.pick(60, 100)));
  row(v, "[vel_limite]");
  for (int64_t m = 0; m <= last_row_m; m += w.pick(20, 80) * 50) row(v, "velocita,   " + n(m) + ",   " + n(w.pick(6, 40) * 5 - w.pick(0, 2)));

  row(v, "[stazioni]");
  for (int32_t b = 0; b < blocks && b < 80; b += 2) {
    const int64_t type = b == 0 ? 8 : w.one_of({2, 4, 5, 6, 7, 8, 11, 12, 22, 25, 30});
    const int64_t length = 100 * w.pick(1, 8);
    std::string station = "stazione,   " + n(b * kBlock + 2500) + ", " + n(type) + ", " + n(length);
    for (int i = 4; i <= 13; ++i) station += ", " + n(w.pick(0, 9));
    station += ", " + n(w.pick(0, 23)) + ", " + n(w.pick(0, 59)) + ", " + n(w.pick(0, 59)) + ", " +
               w.one_of<std::string>({"STAZIONE " + n(b), "\"PIAZZA, BASSA\"", "BIVIO"});
    row(v, station);
  }

  row(v, "[rallentamenti]");
  for (int32_t b = 1; b < blocks; b += 2) {
    const int64_t x = b * kBlock + 2600 + w.pick(0, 20);
    row(v, "rallentamento,   " + n(x) + ",    " + n(w.one_of({30, 60, 80, 100, 110, 140})) + ",  " +
               n(w.chance(10) ? 0 : 50 * w.pick(2, 24)) + ", " + n(w.pick(0, 3)) + ",  " + n(w.pick(0, 1)) + ",  " +
               n(w.chance(50) ? 0 : w.pick(1, 160)));
  }

  row(v, "[segnali]");
  const auto signal = [&](int64_t at) {
    std::string text = "segnale,    " + n(at) + ",   " + n(w.pick(0, 2));
    for (int i = 0; i < 4; ++i) text += ", " + n(w.pick(0, 4));
    text += ", " + n(w.pick(0, 2));
    for (int i = 0; i < 3; ++i) text += ", " + n(w.pick(0, 2));
    text += ", " + n(w.one_of({0, 30, 101, 120, 240, 300}));
    row(v, text);
  };
  for (int32_t b = 0; b < blocks; ++b) {
    if (b % 2 == 1) signal(b * kBlock + 1000);  // in front of the slowdown's warning board
    signal(b * kBlock + 4400);
    if (w.chance(30)) signal(b * kBlock + 4500 + 50 * w.pick(0, 1));  // over the approach codes before it
  }
  if (blocks == 0) {
    for (int64_t at = 400; at + 100 <= last_row_m; at += 350) signal(at);
  }

  row(v, "[codici]");
  for (int32_t b = 0; b < blocks; ++b) {
    row(v, "abbattimento,   " + n(b * kBlock + 4700) + ",   " + n(w.one_of({270, 180, 0, -5, 40000})));
    // Where the walk would place the first approach point of the slowdown.
    if (b % 2 == 1 && w.chance(50)) row(v, "abbattimento,   " + n(b * kBlock + 2400) + ",   " + n(w.pick(1, 300)));
  }
  row(v, "[fine]");
  return s;
}

}  // namespace scenario::testing
