#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "format/plan_bytes.hpp"
#include "model/sim_record.hpp"
#include "model/track_cell.hpp"

namespace scenario {

// The three compiled files of one scenario, with the identity their names give: the cells
// and records as their bytes, the plan as bytes in memory or its file read in parts.
struct CompiledFiles {
  std::string name;
  std::string number;
  std::string track_cells;               // <name>_<n>.dat
  std::string records;                   // <name>_<n>.sim
  std::optional<PlanBytes> line_plan;    // <name>_linea.dat; none when compiled without a plan
};

// A compiled file that cannot be decoded: its name, then where and why decoding failed.
class DamagedCompiledFile : public std::runtime_error {
 public:
  DamagedCompiledFile(const std::string& file, const std::string& reason)
      : std::runtime_error(file + ": " + reason), file_(file), reason_(reason) {}
  const std::string& file() const { return file_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string file_;
  std::string reason_;
};

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
  explicit CompiledScenario(const CompiledFiles& compiled);  // DamagedCompiledFile

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

// Runs `decode` on the file named `file`, a DecodeError becoming a DamagedCompiledFile.
template <typename Decode>
auto decoded(const std::string& file, Decode decode) {
  try {
    return decode();
  } catch (const std::runtime_error& e) {
    throw DamagedCompiledFile(file, e.what());
  }
}

// "track cell 173", for remarks.
inline std::string cell_name(int64_t c) { return "track cell " + std::to_string(c); }

// What could not be written back as the compiled files hold it, in words, for the author.
using Remarks = std::vector<std::string>;

}  // namespace scenario
