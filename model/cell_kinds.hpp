#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace scenario {

// What a track cell holds, by the code the track-cell file stores. Each kind has its entry in
// the table of cell kinds (cell_kinds.cpp), which every reader of the cells goes by.
enum CellKind : uint8_t {
  kFreeCell = 0,
  kSignal = 1,
  kSlowdownEnd = 2,
  kSlowdownStart = 3,
  kSlowdownWarningBoard = 4,
  kApproachBoard = 5,
  kSpeedLimitBoards = 6,
  kStationExit = 10,
  kMountainMarker = 11,
  kCodeReduction = 12,
  kCodeReductionNonPositive = 13,
  kIndicatorBoard = 14,
};

// Where the feature of a cell stands: at the start of its own cell, or where the cell before
// it starts (the compiler puts signals, boards and slowdown cells one cell past the cell of
// their row's position). The first value of this and the next two enums is no choice: it
// marks an entry left unfinished.
enum class CellAnchor : uint8_t { kAnchorUnset, kOwnCell, kCellBefore };

// The mark the route picture draws for a kind along the speed band; the picture gives each
// shape its drawing.
enum class PlotMarkShape : uint8_t {
  kMarkUnset,
  kNotDrawn,
  kSignalTick,
  kCodeReductionTriangle,
  kSpeedBoardSquare,
  kIndicatorBoardDiamond,
};
inline constexpr std::size_t kPlotMarkShapeCount = static_cast<std::size_t>(PlotMarkShape::kIndicatorBoardDiamond) + 1;

// The section of the summary that tells the cells of a kind.
enum class SummaryGroup : uint8_t {
  kGroupUnset,
  kNotTold,  // an empty cell
  kStations,
  kSignals,
  kBoards,  // one row a cell, named by the kind's summary words
  kSlowdowns,
  kCodeReductions,
  kMountainStretches,
};

// The values of a cell that a kind's diff words may show, each written "{name}" in them.
enum class CellValueText : uint8_t {
  kValue1,      // {value1}: the first value
  kValues,      // {values}: the four values, "v1/v2/v3/v4"
  kSignalTime,  // {time}: " time N" when the signal time is not 0, else nothing
  kSpeedBoard,  // {board}: the speeds a speed-limit board shows
  kKindCode,    // {kind}: the kind's code
};
inline constexpr std::array<std::string_view, 5> kCellValueTextNames = {"value1", "values", "time", "board", "kind"};

// Everything the readers say about one kind of cell.
struct CellKindEntry {
  uint8_t code;                    // a CellKind
  std::string_view name;           // inspect's, the listings' and the faults' name for it
  CellAnchor anchor;               // where its feature stands
  std::string_view summary_words;  // how the summary names one within its group
  std::string_view diff_words;     // how diff tells a cell of it, values in braces
  PlotMarkShape plot_mark;
  SummaryGroup summary_group;
};

// Every kind, in increasing order of code.
std::span<const CellKindEntry> cell_kinds();

// The entry of a code; for a code the compiler never writes, the entry of an unknown kind
// (named "unknown", told by diff with its code and values, not drawn, not summarised).
const CellKindEntry& cell_kind_entry(uint8_t code);

// Short English name of a kind, for listings; "unknown" for codes the compiler never sets.
const char* cell_kind_name(uint8_t kind);

// Calls `text(std::string_view)` for each stretch of plain words in diff words and
// `value(CellValueText)` for each "{name}"; false when a brace is left open or names no value.
template <class Text, class Value>
constexpr bool each_diff_words_piece(std::string_view words, Text&& text, Value&& value) {
  while (!words.empty()) {
    const std::size_t open = words.find('{');
    if (open != 0) {
      const std::string_view plain = words.substr(0, open);
      if (plain.find('}') != std::string_view::npos) return false;
      text(plain);
      if (open == std::string_view::npos) return true;
      words.remove_prefix(open);
    }
    const std::size_t close = words.find('}');
    if (close == std::string_view::npos) return false;
    const std::string_view name = words.substr(1, close - 1);
    bool known = false;
    for (std::size_t i = 0; i < kCellValueTextNames.size() && !known; ++i)
      if (kCellValueTextNames[i] == name) {
        value(static_cast<CellValueText>(i));
        known = true;
      }
    if (!known) return false;
    words.remove_prefix(close + 1);
  }
  return true;
}

}  // namespace scenario
