#include "bench/route_generator.hpp"

#include <string>

namespace scenario::bench {
namespace {

// The route is made of 5000 m blocks; within a block every feature has its own cells.
constexpr int32_t kBlock = 5000;

void row(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

std::string n(int64_t value) { return std::to_string(value); }

}  // namespace

GeneratedSources generate_route(int32_t length_m) {
  GeneratedSources s;
  const int32_t blocks = length_m / kBlock;
  std::string& l = s.line;
  row(l, "[generale]");
  row(l, "lunghezza percorso,    " + n(length_m));
  row(l, "progressiva chilometrica uno,    9600,    -9550,    0");
  row(l, "sfondo uno,    1");
  row(l, "sfondo due,    31000");
  row(l, "sfondo tre,    59500");
  row(l, "ripetizione segnali 4 codici,    10550,    79900");
  row(l, "[curve]");
  for (int32_t b = 0; b < blocks; ++b)
    row(l, std::string("curva") + (b % 2 ? "s" : "d") + n(1 + b % 6) + ",  " + n(b * kBlock + 2000) + ",  600");
  row(l, "[pendenze]");
  for (int32_t m = 0; m < length_m; m += 1000) row(l, "pendenza,  " + n(m) + ",   " + n(m / 1000 % 9 - 3));
  row(l, "[montagne]");
  for (int32_t b = 1; b < blocks; b += 5)
    row(l, "montagna,   " + n(b * kBlock + 500) + ",  " + n(b * kBlock + 1500) + ",  12");
  row(l, "[cartelli]");
  for (int32_t b = 0; b < blocks; ++b)
    row(l, "indicatori_vmax,  " + n(b * kBlock + 800) + ",  140,  150,  160,  0,  ,  ,  ,  0");
  row(l, "[indicazioni]");
  for (int32_t b = 0; b < blocks; b += 5) row(l, "cartello_indicatore,  " + n(b * kBlock + 2450) + ",   (Km. " + n(b) + ")");
  row(l, "[fine]");

  std::string& v = s.service;
  row(v, "[generale]");
  row(v, "numero vetture,    12");
  row(v, "percentuale massa frenata,    125");
  row(v, "sabbia,    300");
  row(v, "orologio,    18              14            15 ");
  row(v, "[aderenze]");
  for (int32_t b = 0; b < blocks; b += 2) row(v, "aderenza,   " + n(b * kBlock) + ",    " + n(b % 4 ? 95 : 100));
  row(v, "[vel_limite]");
  for (int32_t b = 0; b < blocks; ++b) row(v, "velocita,   " + n(b * kBlock) + ",    " + n(b % 2 ? 100 : 150));
  row(v, "[stazioni]");
  for (int32_t b = 2; b < blocks; b += 6)
    row(v, "stazione,   " + n(b * kBlock + 3000) + ", 22,  500,  0, 0, 0,  0,0,0,  4,1,1,    0,   0, 0, 0, STAZIONE " + n(b));
  row(v, "[rallentamenti]");
  for (int32_t b = 4; b + 1 < blocks; b += 5)
    row(v, "rallentamento,   " + n(b * kBlock + 4000) + ",    80,  1000, 0,  1,  80");
  row(v, "[segnali]");
  for (int32_t b = 0; b < blocks; ++b) {
    row(v, "segnale,    " + n(b * kBlock + 1750) + ",   2, 4, 1,  1, 0,    2,  2,1,1, 0");
    row(v, "segnale,    " + n(b * kBlock + 3350) + ",   2, 3, 1,  1, 0,    0,  0,0,0, 240");
  }
  row(v, "[codici]");
  for (int32_t b = 0; b < blocks; ++b) row(v, "abbattimento,   " + n(b * kBlock + 4600) + ",   270");
  row(v, "[fine]");
  return s;
}

}  // namespace scenario::bench
