#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/sim_record.hpp"
#include "model/track_cell.hpp"
#include "reading/compiled_scenario.hpp"

namespace scenario {

// The scenario's name and number as its records carry them (records 85 and 86, Windows-1252),
// which the recovered sources must compile back to. The file names may spell them otherwise
// (UTF-8, or renamed).
struct ScenarioTexts {
  std::string name;
  std::string number;
};

// The cells and records decoded. The plan stays bytes: it is read in one pass where needed.
// Cell 1's first two values are the header the compiler stamps, not a feature's, and are
// cleared here so that no recovery mistakes them for one.
struct CompiledScenario {
  explicit CompiledScenario(const CompiledFiles& compiled);  // FileError

  const CompiledFiles& files;
  std::vector<TrackCell> cells;
  std::array<SimRecord, kRecordCount> records;

  // The indicator boards of the line source, whose texts take the records from 80 down: the
  // lowest record a board cell names or that holds a text alone (a board whose cell a
  // station exit then took) tells how many.
  int indicator_board_count() const;
  ScenarioTexts texts() const { return {records[kScenarioNameSlot].text, records[kScenarioNumberSlot].text}; }
  int64_t last_cell() const { return static_cast<int64_t>(cells.size()) - 1; }
  // A row at this position is read on: it leaves the margin every row needs before the end
  // of the cells (a row past it ends the reading with fault 15).
  bool row_fits(int64_t position_m) const { return position_m + kRowEndMargin_m <= kCell_m * last_cell(); }

  static constexpr int64_t kCell_m = kCellLength_m;
  static constexpr int64_t kRowEndMargin_m = kEndMargin_m;
};

// "track cell 173", for remarks.
inline std::string cell_name(int64_t c) { return "track cell " + std::to_string(c); }

// What could not be written back as the compiled files hold it, in words, for the author.
using Remarks = std::vector<std::string>;

}  // namespace scenario
