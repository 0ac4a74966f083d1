#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace scenario::testing {

// Two sources of a random route that use every kind of feature in its many forms: curves of
// every curvature and hand, back to back too; gradient rows that reach into the last cells;
// mountain stretches with and without markers, close followers and markers of type 0;
// speed-limit boards with one or two sides; indicator boards with plain, quoted and empty
// texts; stations of every type class, their times running on; signals of every aspect, some
// close enough to write over each other's approach codes; slowdowns fast and slow (never
// above the line speed), with and without their boards and second value; code reductions of
// every value, some where the signalling walk would place its own. Besides, the shapes whose
// rows decide what a cell keeps: signals whose approach codes a station's cover or stand
// over, written before or after the station; speed-limit boards, indicator boards, a signal
// with a time and a slowdown's warning board under a station exit; slowdowns 25 m past a
// boundary or inside another; features in cell 0 and in the last cells; curves back to back
// into the last cells; station names outside ASCII. Every row keeps every relation between
// rows (no warning W15 and after), and features keep to their own cells, so the sources
// compile without a fault. Blocks of 5000 m; a route shorter than a block has its general
// rows, fills and a few signals only, and one under a kilometre keeps them on the route.
struct GeneratedScenario {
  std::string line;
  std::string service;
};

GeneratedScenario generate_scenario(uint32_t seed, int32_t length_m);

}  // namespace scenario::testing
