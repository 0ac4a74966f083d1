#include "model/cell_kinds.hpp"

#include <algorithm>

namespace scenario {
namespace {

using enum CellAnchor;
using enum PlotMarkShape;
using enum SummaryGroup;

// The one table of cell kinds.
constexpr auto kKinds = std::to_array<CellKindEntry>({
    {kFreeCell, "free", kOwnCell, "nothing", "nothing", kNotDrawn, kNotTold},
    {kSignal, "signal", kCellBefore, "signal", "signal {values}{time}", kSignalTick, kSignals},
    {kSlowdownEnd, "slowdown end", kCellBefore, "end", "slowdown end {value1} km/h", kNotDrawn, kSlowdowns},
    {kSlowdownStart, "slowdown start", kCellBefore, "start", "slowdown start {value1} km/h", kNotDrawn, kSlowdowns},
    {kSlowdownWarningBoard, "slowdown warning board", kCellBefore, "warning_board",
     "slowdown warning board {value1} km/h", kNotDrawn, kSlowdowns},
    {kApproachBoard, "approach board", kOwnCell, "approach_board", "approach board {value1}", kNotDrawn, kSlowdowns},
    {kSpeedLimitBoards, "speed-limit boards", kCellBefore, "speed limit", "speed-limit board {board}",
     kSpeedBoardSquare, kBoards},
    {kStationExit, "station exit", kOwnCell, "exit", "exit of station {value1}", kNotDrawn, kStations},
    {kMountainMarker, "mountain marker", kOwnCell, "marker", "mountain marker", kNotDrawn, kMountainStretches},
    {kCodeReduction, "code reduction", kOwnCell, "point", "code reduction {value1} km/h", kCodeReductionTriangle,
     kCodeReductions},
    {kCodeReductionNonPositive, "code reduction (value 0 or below)", kOwnCell, "point of value 0 or below",
     "code reduction of value 0 or below", kCodeReductionTriangle, kCodeReductions},
    {kIndicatorBoard, "indicator board", kCellBefore, "indicator", "indicator board (text in slot {value1})",
     kIndicatorBoardDiamond, kBoards},
});

constexpr CellKindEntry kUnknownKind{0, "unknown", kOwnCell, "unknown", "kind {kind} {values}", kNotDrawn, kNotTold};

constexpr bool in_increasing_order() {
  for (std::size_t i = 1; i < kKinds.size(); ++i)
    if (kKinds[i - 1].code >= kKinds[i].code) return false;
  return true;
}

constexpr bool diff_words_read(std::string_view words) {
  return each_diff_words_piece(words, [](std::string_view) {}, [](CellValueText) {});
}

constexpr bool complete(const CellKindEntry& kind) {
  return !kind.name.empty() && kind.anchor != CellAnchor::kAnchorUnset && !kind.summary_words.empty() &&
         !kind.diff_words.empty() && diff_words_read(kind.diff_words) && kind.plot_mark != PlotMarkShape::kMarkUnset &&
         kind.summary_group != SummaryGroup::kGroupUnset;
}

constexpr bool all_complete() {
  return std::all_of(kKinds.begin(), kKinds.end(), complete) && complete(kUnknownKind);
}

// Strictly increasing codes: in order, and none twice.
static_assert(in_increasing_order(), "the table of cell kinds must list each kind once, by increasing code");
static_assert(all_complete(), "every cell kind needs a name, an anchor, summary words, diff words whose braces name "
                              "values, a plot mark and a summary group");

// Each code's place in the table, or the table's size for a code of no kind: a lookup per
// cell, as the readers make one for every cell of a route.
constexpr std::array<uint8_t, 256> kPlaces = [] {
  std::array<uint8_t, 256> places{};
  places.fill(static_cast<uint8_t>(kKinds.size()));
  for (std::size_t i = 0; i < kKinds.size(); ++i) places[kKinds[i].code] = static_cast<uint8_t>(i);
  return places;
}();

}  // namespace

std::span<const CellKindEntry> cell_kinds() { return kKinds; }

const CellKindEntry& cell_kind_entry(uint8_t code) {
  const uint8_t place = kPlaces[code];
  return place < kKinds.size() ? kKinds[place] : kUnknownKind;
}

const char* cell_kind_name(uint8_t kind) { return cell_kind_entry(kind).name.data(); }

}  // namespace scenario
