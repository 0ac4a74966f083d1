#include "driver/commands.hpp"
#include "driver/compiled_scenario_search.hpp"
#include "driver/diagnostics.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/file_io.hpp"
#include "format/scenario_files.hpp"
#include "plot/route_plot.hpp"

namespace scenario {

int run_plot_command(const PlotCommand& command, Console& console) {
  const auto [name, number] = find_compiled_scenario(command.folder, command.name, command.number, "plot");
  const ScenarioFileNames files = scenario_file_names(name, number);
  RouteDrawing drawing;
  drawing.name = name;
  drawing.number = number;

  Diagnostics diagnostics(console.err, console.colour);
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
    if (unreadable_reason(plan).empty()) {
      reading = plan;
      drawing.plan = decode_line_plan(read_file(plan));
    }
  } catch (const DecodeError& e) {
    diagnostics.error(reading.string() + ": " + e.what());
    return kExitNothing;
  }

  const std::filesystem::path output = command.output.value_or(command.folder / (name + "_" + number + ".svg"));
  replace_file(output, render_route_svg(drawing));
  console.out << output.string() << "\n";
  return kExitClean;
}

}  // namespace scenario
