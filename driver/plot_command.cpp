#include "driver/commands.hpp"
#include "driver/compiled_scenario_search.hpp"
#include "driver/diagnostics.hpp"
#include "driver/output_folder.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "format/scenario_files.hpp"
#include "plot/route_plot.hpp"
#include "reading/compiled_scenario.hpp"

namespace scenario {

int run_plot_command(const PlotCommand& command, Console& console) {
  Diagnostics diagnostics(console.err, console.colour);
  const ScenarioLocation location = located_scenario(command.folder, command.name, command.number, "plot");
  std::string svg;
  try {
    // The picture reads the whole plan once, and checks it on the way.
    const LoadedScenario scenario = load_scenario_files(location, PlanCheck::kAsRead);
    const PlotView view{command.from_m, command.to_m, command.kilometre_axis};
    if (const auto why = window_outside_route(scenario, view)) {
      diagnostics.error(*why);
      return kExitNothing;
    }
    svg = decoded(location.line_plan, [&] { return render_route_svg(scenario, view); });
  } catch (const FileError& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  }
  if (command.output == std::filesystem::path("-")) {
    console.out << svg;
    return kExitClean;
  }
  const std::filesystem::path output =
      command.output.value_or(command.folder / (location.name + "_" + location.number + ".svg"));
  // The picture never takes the place of the scenario's own files.
  const ScenarioFileNames files = scenario_file_names(location.name, location.number);
  for (const std::string* file : {&files.line_source, &files.service_source, &files.notes, &files.slowdown_order,
                                  &files.train_card, &files.line_plan, &files.records, &files.track_cells}) {
    if (is_same_file(output, command.folder / *file)) {
      diagnostics.error("the picture '" + output.string() + "' would replace '" + (command.folder / *file).string() +
                        "' of the scenario; nothing drawn");
      return kExitNothing;
    }
  }
  replace_file(output, svg, set_options(command.wait, true, diagnostics));
  console.out << output.string() << "\n";
  return kExitClean;
}

}  // namespace scenario
