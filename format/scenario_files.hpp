#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// The file-name rule that pairs the two sources of a scenario: the line source of scenario
// NAME is NAME_linea.txt, its service source number N is NAME_N-.txt, in the same folder.
inline constexpr std::string_view kLineSourceSuffix = "_linea.txt";
inline constexpr std::string_view kServiceSourceSuffix = "-.txt";

// The names of every file of one scenario, from its base name and number.
struct ScenarioFileNames {
  std::string line_source;     // <name>_linea.txt
  std::string service_source;  // <name>_<n>-.txt
  std::string notes;           // <name>_<n>_note.txt
  std::string slowdown_order;  // <name>_<n>_rallentamenti.txt
  std::string train_card;      // <name>_<n>_scheda_treno.txt
  std::string line_plan;       // <name>_linea.dat
  std::string records;         // <name>_<n>.sim
  std::string track_cells;     // <name>_<n>.dat

  // The five texts, in the order of the build run, and the three compiled files.
  std::vector<std::string> texts() const { return {line_source, service_source, notes, slowdown_order, train_card}; }
  std::vector<std::string> compiled() const { return {line_plan, records, track_cells}; }
};

inline ScenarioFileNames scenario_file_names(const std::string& name, const std::string& number) {
  const std::string scenario = name + "_" + number;
  return ScenarioFileNames{
      name + std::string(kLineSourceSuffix), scenario + std::string(kServiceSourceSuffix),  scenario + "_note.txt", scenario + "_rallentamenti.txt",
      scenario + "_scheda_treno.txt", name + "_linea.dat", scenario + ".sim",     scenario + ".dat",
  };
}

// What a compiled file holds, told by its name: *_linea.dat the line plan, *.sim the
// records, any other *.dat the track cells; nothing for any other name.
enum class CompiledFileKind { kTrackCells, kRecords, kLinePlan };

inline std::optional<CompiledFileKind> compiled_file_kind(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  if (name.ends_with("_linea.dat")) return CompiledFileKind::kLinePlan;
  if (name.ends_with(".sim")) return CompiledFileKind::kRecords;
  if (name.ends_with(".dat")) return CompiledFileKind::kTrackCells;
  return std::nullopt;
}

}  // namespace scenario
