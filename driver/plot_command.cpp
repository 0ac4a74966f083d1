#include "driver/commands.hpp"
#include "driver/compiled_scenario_search.hpp"
#include "driver/diagnostics.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"
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
