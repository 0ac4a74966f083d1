#include <algorithm>
#include <set>

#include "driver/commands.hpp"
#include "driver/diagnostics.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "format/scenario_files.hpp"
#include "plot/route_plot.hpp"

namespace scenario {
namespace {

// The scenarios compiled into a folder, told by their records files <name>_<n>.sim, kept
// when they match the name and number the author gave.
std::set<std::pair<std::string, std::string>> compiled_scenarios(const PlotCommand& command) {
  std::set<std::pair<std::string, std::string>> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(command.folder, ec)) {
    const std::string file = entry.path().filename().string();
    const size_t underscore = file.rfind('_');
    if (!file.ends_with(".sim") || underscore == std::string::npos || underscore == 0) continue;
    std::string name = file.substr(0, underscore);
    std::string number = file.substr(underscore + 1, file.size() - underscore - 1 - 4);
    if (number.empty() || (command.name && *command.name != name) || (command.number && *command.number != number))
      continue;
    found.emplace(std::move(name), std::move(number));
  }
  if (ec) throw FileError(command.folder, "cannot list: " + ec.message());
  return found;
}

std::pair<std::string, std::string> chosen_scenario(const PlotCommand& command) {
  if (command.name && command.number) return {*command.name, *command.number};
  const auto found = compiled_scenarios(command);
  if (found.size() == 1) return *found.begin();
  std::string message = found.empty() ? "no compiled scenario (<name>_<n>.sim) in '" + command.folder.string() + "'"
                                      : "several compiled scenarios in '" + command.folder.string() + "':";
  for (const auto& [name, number] : found) message += " " + name + "_" + number;
  if (!found.empty()) message += "; choose one with --name and --number";
  throw UsageError(message, "plot");
}

}  // namespace

int run_plot_command(const PlotCommand& command, Console& console) {
  const auto [name, number] = chosen_scenario(command);
  const ScenarioFileNames files = scenario_file_names(name, number);
  RouteDrawing drawing;
  drawing.name = name;
  drawing.number = number;

  Diagnostics diagnostics(console.err, console.colour);
  const std::filesystem::path output = command.output.value_or(command.folder / (name + "_" + number + ".svg"));
  // The picture never takes the place of the scenario's own files.
  for (const std::string* file : {&files.line_source, &files.service_source, &files.notes, &files.slowdown_order,
                                  &files.train_card, &files.line_plan, &files.records, &files.track_cells}) {
    if (is_same_file(output, command.folder / *file)) {
      diagnostics.error("the picture '" + output.string() + "' would replace '" + (command.folder / *file).string() +
                        "' of the scenario; nothing drawn");
      return kExitNothing;
    }
  }
  const std::filesystem::path cells = command.folder / files.track_cells;
  const std::filesystem::path records = command.folder / files.records;
  const std::filesystem::path plan = command.folder / files.line_plan;
  std::filesystem::path reading;
  try {
    reading = cells;
    drawing.cells = decode_track_cells(read_file(cells));
    reading = records;
    drawing.records = decode_records(read_file(records));
    // A scenario compiled without its plan is drawn with its profile alone.
    std::error_code ec;
    if (std::filesystem::exists(plan, ec)) {
      reading = plan;
      drawing.plan = decode_line_plan(read_file(plan));
    }
  } catch (const DecodeError& e) {
    diagnostics.error(reading.string() + ": " + e.what());
    return kExitNothing;
  }

  replace_file(output, render_route_svg(drawing));
  console.out << output.string() << "\n";
  return kExitClean;
}

}  // namespace scenario
