#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "format/byte_reader.hpp"
#include "format/file_io.hpp"
#include "format/plan_bytes.hpp"
#include "model/sim_record.hpp"
#include "model/track_cell.hpp"

namespace scenario {

// Where one compiled scenario lies: its name and number and its three files. The plan
// file may be missing (a scenario compiled without its plan).
struct ScenarioLocation {
  std::string name;
  std::string number;
  std::filesystem::path track_cells;
  std::filesystem::path records;
  std::filesystem::path line_plan;
  bool has_plan = false;
};

// One compiled scenario among a set of file names: its identity, the stem of its records and
// track-cell files, and whether its plan file is among them.
struct NamedScenario {
  std::string name;
  std::string number;
  std::string stem;  // <name>_<n>
  bool has_plan = false;
};

// The scenarios a set of file names holds, in the order of their stems: every <stem>.sim
// beside a <stem>.dat is a scenario. Its name is the longest <name> of a <name>_linea.dat
// file that the stem begins with followed by "_", the number the rest; without a plan file
// the stem splits at its last "_". A name or number given narrows the choice, matching file
// names spelt in UTF-8 or in Windows-1252 alike. Names and numbers may hold "_".
std::vector<NamedScenario> scenarios_among(const std::vector<std::string>& file_names,
                                           const std::optional<std::string>& name,
                                           const std::optional<std::string>& number);

// What the search for one scenario in a folder found: the scenario, or, when none or more
// than one fits what was asked, why not, naming those found.
struct ScenarioSearch {
  std::optional<ScenarioLocation> location;
  std::string why_not = "";
};

// The one scenario compiled into `folder`, found among its regular files by scenarios_among;
// a name and number both given name the files directly when they are there so spelt.
ScenarioSearch locate_compiled_scenario(const std::filesystem::path& folder, const std::optional<std::string>& name,
                                        const std::optional<std::string>& number);

// The three compiled files of one scenario as read, with the identity their names give: the
// cells and records as their bytes, the plan as bytes in memory or its file read in parts.
struct CompiledFiles {
  std::string name;
  std::string number;
  std::string track_cells;             // <name>_<n>.dat
  std::string records;                 // <name>_<n>.sim
  std::optional<PlanBytes> line_plan;  // <name>_linea.dat; none when compiled without a plan
};

// Reads the files of `location` undecoded; FileError when one cannot be read.
CompiledFiles read_compiled_files(const ScenarioLocation& location);

// Runs `decode` on the bytes of `file`, a DecodeError becoming a FileError that names the file,
// then the byte where decoding stopped and why (a damaged file). A FileError of the reading
// (the plan read in parts) passes as it is.
template <typename Decode>
auto decoded(const std::filesystem::path& file, Decode decode) {
  try {
    return decode();
  } catch (const DecodeError& e) {
    throw FileError(file, e.what());
  }
}

// The contents of one compiled scenario. The plan stays in its file, read a block of points
// at a time where it is needed (LinePlanPoints); empty when the scenario has no plan file.
struct LoadedScenario {
  std::string name;
  std::string number;
  std::vector<TrackCell> cells;
  std::array<SimRecord, kRecordCount> records{};
  PlanBytes plan_bytes;
  bool has_plan = false;
  int64_t plan_points = 0;  // the plan's computed points, counted as the loader checks it (PlanCheck)
};

// When the line plan is checked: whole as it is loaded, or as a reader that reads it whole
// reads it (its count of points then found from a few tags), the reader turning a
// DecodeError into the loader's FileError (decoded()).
enum class PlanCheck { kOnLoad, kAsRead };

// Reads and decodes the files of `location`: the loader every reader of a compiled scenario
// goes through. FileError when a file cannot be read or is damaged.
LoadedScenario load_scenario_files(const ScenarioLocation& location, PlanCheck plan_check = PlanCheck::kOnLoad);

// The same from the files' bytes in memory (`line_plan` none for a scenario compiled without
// its plan); FileError naming a damaged file by its kind.
LoadedScenario load_scenario_bytes(std::string name, std::string number, std::string_view track_cells,
                                   std::string_view records, const std::optional<std::string>& line_plan);

}  // namespace scenario
