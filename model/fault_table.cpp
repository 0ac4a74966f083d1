#include "model/fault_table.hpp"

#include <array>

namespace scenario {
namespace {

constexpr auto kFaults = std::to_array<FaultDescription>({
    {1, "route length above 1000000 m"},
    {2, "kilometre-post change whose position or offset is not a multiple of 50"},
    {3, "signal-repetition start not a multiple of 50"},
    {4, "signal-repetition end not a multiple of 50"},
    {5, "signal-repetition row gives neither 4 nor 9 codes"},
    {6, "indicator board on an occupied cell"},
    {7, "code reduction on an occupied cell"},
    {8, "station position not a multiple of 50"},
    {9, "station length not a multiple of 100"},
    {10, "too many stations: they reach the slots of the indicator-board texts"},
    {11, "no free or lowerable cell in front of a signal before a slowdown warning board"},
    {12, "no free cell for an approach point in front of a slowdown"},
    {13, "no free cell for a repeat point or an exit point of a slowdown"},
    {15, "feature too close to or beyond the end of the track cells"},
    {16, "signal on an occupied cell"},
    {17, "slowdown warning board on an occupied cell"},
    {18, "slowdown start on an occupied cell"},
    {19, "slowdown end on an occupied cell"},
    {20, "approach boards of a slowdown warning on occupied cells"},
    {21, "speed-limit boards on an occupied cell"},
    {22, "station starts less than 350 m after the end of the previous one"},
    {24, "station exit cell at or before cell 1"},
    {25, "run-time failure while reading the sources"},
    {101, "line source file missing"},
    {102, "line source file has no [generale] section"},
    {103, "curve without a radius digit 1 to 6, or line plan past metre 1000000"},
    {1250, "header slot for the constants already in use"},
    {1251, "header slot for the competition codes already in use"},
});

}  // namespace

std::span<const FaultDescription> fault_table() { return kFaults; }

std::string_view fault_meaning(int number) {
  for (const auto& fault : fault_table())
    if (fault.number == number) return fault.meaning;
  return "unknown fault";
}

}  // namespace scenario
