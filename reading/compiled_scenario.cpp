#include "reading/compiled_scenario.hpp"

#include <algorithm>
#include <array>
#include <set>
#include <system_error>

#include "format/byte_reader.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/file_io.hpp"
#include "format/line_plan_decoder.hpp"
#include "format/line_plan_points.hpp"
#include "format/scenario_files.hpp"
#include "model/windows_1252.hpp"

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

// A name as Windows-1252 text: file names may spell a name in UTF-8 or in the records' own
// Windows-1252, and either way it is the same name.
std::string as_1252(const std::string& name) {
  try {
    return utf8_to_1252(name);
  } catch (const std::invalid_argument&) {
    return name;
  }
}

bool same_name(const std::string& a, const std::string& b) { return a == b || as_1252(a) == as_1252(b); }

// The part of `stem` before a "_" that spells `name`, however it is encoded; none when the
// stem does not begin with it or nothing follows.
std::optional<std::string> name_part(const std::string& stem, const std::string& name) {
  if (stem.starts_with(name + "_")) return stem.size() > name.size() + 1 ? std::optional(name) : std::nullopt;
  for (size_t underscore = stem.find('_'); underscore != std::string::npos && underscore + 1 < stem.size();
       underscore = stem.find('_', underscore + 1)) {
    if (same_name(stem.substr(0, underscore), name)) return stem.substr(0, underscore);
  }
  return std::nullopt;
}

}  // namespace

std::vector<NamedScenario> scenarios_among(const std::vector<std::string>& file_names,
                                           const std::optional<std::string>& name,
                                           const std::optional<std::string>& number) {
  const std::set<std::string_view> present(file_names.begin(), file_names.end());
  std::vector<std::string> stems, plan_names;
  for (const std::string& file : file_names) {
    if (file.ends_with(kPlanSuffix)) {
      plan_names.push_back(file.substr(0, file.size() - kPlanSuffix.size()));
    } else if (file.ends_with(".sim") && present.contains(file.substr(0, file.size() - 4) + ".dat")) {
      stems.push_back(file.substr(0, file.size() - 4));
    }
  }
  std::sort(stems.begin(), stems.end());

  std::vector<NamedScenario> found;
  for (const std::string& stem : stems) {
    std::string best;
    bool has_plan = false;
    for (const std::string& plan : plan_names) {
      const bool fits = stem.size() > plan.size() + 1 && stem.starts_with(plan) && stem[plan.size()] == '_';
      if (fits && (!name || same_name(*name, plan)) && (!has_plan || plan.size() > best.size())) best = plan, has_plan = true;
    }
    if (!has_plan) {
      if (name) {
        const std::optional<std::string> part = name_part(stem, *name);
        if (!part) continue;
        best = *part;
      } else {
        const size_t underscore = stem.rfind('_');
        if (underscore == std::string::npos || underscore == 0 || underscore + 1 == stem.size()) continue;
        best = stem.substr(0, underscore);
      }
    }
    const std::string scenario_number = stem.substr(best.size() + 1);
    if (number && !same_name(*number, scenario_number)) continue;
    found.push_back({best, scenario_number, stem, has_plan});
  }
  return found;
}

ScenarioSearch locate_compiled_scenario(const std::filesystem::path& folder, const std::optional<std::string>& name,
                                        const std::optional<std::string>& number) {
  if (name && number && is_file(folder / scenario_file_names(*name, *number).records))
    return {located(folder, *name, *number, is_file(folder / (*name + std::string(kPlanSuffix))))};

  std::vector<std::string> files;
  std::error_code ec;
  // A track-cell file must be a regular file to make a scenario; any other entry is named, so
  // that records or a plan that cannot be read are told so.
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    std::string file = entry.path().filename().string();
    const bool track_cells = file.ends_with(".dat") && !file.ends_with(kPlanSuffix);
    if (!track_cells || is_file(entry.path())) files.push_back(std::move(file));
  }
  if (ec) throw FileError(folder, "cannot list the folder: " + ec.message());

  const std::vector<NamedScenario> found = scenarios_among(files, name, number);
  if (found.size() == 1) return {located(folder, found[0].name, found[0].number, found[0].has_plan)};

  std::string message = found.empty() ? "no compiled scenario (<name>_<n>.sim with <name>_<n>.dat) in '" +
                                            folder.string() + "'"
                                      : "several compiled scenarios in '" + folder.string() + "':";
  for (const NamedScenario& scenario : found) message += " " + scenario.stem;
  if (!found.empty()) message += "; choose one with --name and --number";
  return {std::nullopt, message};
}

CompiledFiles read_compiled_files(const ScenarioLocation& location) {
  CompiledFiles files{location.name, location.number,
                      read_compiled_file(location.track_cells, CompiledFileKind::kTrackCells),
                      read_compiled_file(location.records, CompiledFileKind::kRecords), std::nullopt};
  if (location.has_plan) files.line_plan = PlanBytes::of_file(location.line_plan);
  return files;
}

namespace {

// Decodes the files' bytes, each failure naming its file: `names` of the cells, the records
// and the plan.
LoadedScenario decode_scenario(CompiledFiles files, const std::array<std::filesystem::path, 3>& names,
                               PlanCheck plan_check = PlanCheck::kOnLoad) {
  LoadedScenario scenario;
  scenario.name = std::move(files.name);
  scenario.number = std::move(files.number);
  scenario.cells = decoded(names[0], [&] { return decode_track_cells(files.track_cells); });
  scenario.records = decoded(names[1], [&] { return decode_records(files.records); });
  if (files.line_plan) {
    scenario.plan_bytes = std::move(*files.line_plan);
    // Checks the whole layout once; the readers take the count from here.
    scenario.plan_points = plan_check == PlanCheck::kAsRead
                               ? probed_computed_points(scenario.plan_bytes)
                               : decoded(names[2], [&] { return computed_plan_points(scenario.plan_bytes); });
    scenario.has_plan = true;
  }
  return scenario;
}

}  // namespace

LoadedScenario load_scenario_files(const ScenarioLocation& location, PlanCheck plan_check) {
  return decode_scenario(read_compiled_files(location), {location.track_cells, location.records, location.line_plan},
                         plan_check);
}

LoadedScenario load_scenario_bytes(std::string name, std::string number, std::string_view track_cells,
                                   std::string_view records, const std::optional<std::string>& line_plan) {
  const ScenarioFileNames names = scenario_file_names(name, number);
  CompiledFiles files{std::move(name), std::move(number), std::string(track_cells), std::string(records), std::nullopt};
  if (line_plan) files.line_plan = PlanBytes::holding(*line_plan);
  return decode_scenario(std::move(files), {names.track_cells, names.records, names.line_plan});
}

}  // namespace scenario
