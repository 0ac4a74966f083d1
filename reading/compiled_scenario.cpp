#include "reading/compiled_scenario.hpp"

#include <map>
#include <system_error>

#include "format/byte_reader.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/file_io.hpp"
#include "format/line_plan_points.hpp"
#include "format/scenario_files.hpp"

namespace scenario {
namespace {

constexpr std::string_view kPlanSuffix = "_linea.dat";

ScenarioLocation located(const std::filesystem::path& folder, const std::string& name, const std::string& number,
                         bool has_plan) {
  const ScenarioFileNames files = scenario_file_names(name, number);
  return {name, number, folder / files.track_cells, folder / files.records, folder / files.line_plan, has_plan};
}

bool is_file(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

ScenarioLocation locate_compiled_scenario(const std::filesystem::path& folder, const std::optional<std::string>& name,
                                        const std::optional<std::string>& number) {
  if (name && number) return located(folder, *name, *number, is_file(folder / (*name + std::string(kPlanSuffix))));

  std::vector<std::string> stems, plan_names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string file = entry.path().filename().string();
    if (file.ends_with(kPlanSuffix)) {
      plan_names.push_back(file.substr(0, file.size() - kPlanSuffix.size()));
    } else if (file.ends_with(".sim") && is_file(folder / (file.substr(0, file.size() - 4) + ".dat"))) {
      stems.push_back(file.substr(0, file.size() - 4));
    }
  }
  if (ec) throw FileError(folder, "cannot list the folder: " + ec.message());

  std::map<std::string, ScenarioLocation> found;  // by stem, so the list comes out sorted
  for (const std::string& stem : stems) {
    std::string best;
    bool has_plan = false;
    for (const std::string& plan : plan_names) {
      const bool fits = stem.size() > plan.size() + 1 && stem.starts_with(plan) && stem[plan.size()] == '_';
      if (fits && (!name || *name == plan) && (!has_plan || plan.size() > best.size())) best = plan, has_plan = true;
    }
    if (!has_plan) {
      if (name) {
        if (!stem.starts_with(*name + "_") || stem.size() == name->size() + 1) continue;
        best = *name;
      } else {
        const size_t underscore = stem.rfind('_');
        if (underscore == std::string::npos || underscore == 0 || underscore + 1 == stem.size()) continue;
        best = stem.substr(0, underscore);
      }
    }
    const std::string scenario_number = stem.substr(best.size() + 1);
    if (number && *number != scenario_number) continue;
    found.emplace(stem, located(folder, best, scenario_number, has_plan));
  }
  if (found.size() == 1) return found.begin()->second;

  std::string message = found.empty() ? "no compiled scenario (<name>_<n>.sim with <name>_<n>.dat) in '" +
                                            folder.string() + "'"
                                      : "several compiled scenarios in '" + folder.string() + "':";
  for (const auto& [stem, location] : found) message += " " + stem;
  if (!found.empty()) message += "; choose one with --name and --number";
  throw ScenarioNotFound(message);
}

void fail_decoding(const std::filesystem::path& file, const std::exception& e) {
  throw CompiledFileError(file.string() + ": " + e.what());
}

LoadedScenario load_scenario_files(const ScenarioLocation& location) {
  LoadedScenario scenario;
  scenario.name = location.name;
  scenario.number = location.number;
  const std::filesystem::path* reading = &location.track_cells;
  try {
    scenario.cells = decode_track_cells(read_compiled_file(location.track_cells, CompiledFileKind::kTrackCells));
    reading = &location.records;
    scenario.records = decode_records(read_compiled_file(location.records, CompiledFileKind::kRecords));
    if (location.has_plan) {
      reading = &location.line_plan;
      scenario.plan_bytes = PlanBytes::of_file(location.line_plan);
      computed_plan_points(scenario.plan_bytes);  // checks the whole layout once
      scenario.has_plan = true;
    }
  } catch (const DecodeError& e) {
    fail_decoding(*reading, e);
  }
  return scenario;
}

}  // namespace scenario
