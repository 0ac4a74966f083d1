#include <fstream>

#include "compiler/compile_entry.hpp"
#include "compiler/source_file.hpp"
#include "driver/commands.hpp"
#include "driver/compiled_scenario_search.hpp"
#include "driver/diagnostics.hpp"
#include "driver/scenario_identity.hpp"
#include "format/file_io.hpp"
#include "reading/compiled_scenario.hpp"
#include "timing/compile_timing_check.hpp"
#include "timing/timing_document.hpp"

namespace scenario {
namespace {

bool any_time_missed(const RunningTimes& times) {
  for (const StationTiming& station : times.stations)
    if (const auto slack = station.slack_s(); slack && *slack < 0) return true;
  return times.stall_m.has_value();
}

// The two sources compiled in memory, their warnings (the running-time ones among them)
// on standard error. None when nothing compiled or faults were recorded.
std::optional<RunningTimes> times_of_sources(const TimingCommand& command, Diagnostics& diagnostics) {
  const std::filesystem::path& line_path = command.operands[0];
  const std::filesystem::path& service_path = command.operands[1];
  const ScenarioIdentity identity = infer_scenario_identity(line_path, service_path, command.name, command.number);
  std::string bytes[2];
  const std::filesystem::path* paths[2] = {&line_path, &service_path};
  for (int i = 0; i < 2; ++i) {
    try {
      bytes[i] = read_file(*paths[i], kMaxSourceBytes);
    } catch (const FileError& e) {
      diagnostics.error("cannot read '" + paths[i]->string() + "': " + e.reason(), paths[i]->string());
      return std::nullopt;
    }
  }
  ScenarioModel model;
  model.scenario_name = identity.name_text;
  model.scenario_number = identity.number_text;
  SourceFile line = SourceFile::already_read(line_path, std::move(bytes[0]));
  SourceFile service = SourceFile::already_read(service_path, std::move(bytes[1]));
  diagnostics.show_file_as(line.name(), line_path.string());
  diagnostics.show_file_as(service.name(), service_path.string());
  diagnostics.concern_unplaced_with(line.name());
  CompileContext context(model, &diagnostics);
  const CompileResult result = compile_scenario(context, 1, line, service);
  if (result.status != CompileStatus::kCompiled || result.last_fault != 0) return std::nullopt;
  return check_running_times(context, command.timing);
}

}  // namespace

int run_timing_command(const TimingCommand& command, Console& console) {
  Diagnostics diagnostics(console.err, console.colour);
  std::optional<RunningTimes> times;
  try {
    if (command.operands.size() == 2) {
      times = times_of_sources(command, diagnostics);
      if (!times) {
        diagnostics.close();
        return diagnostics.faults_recorded() > 0 ? kExitFaults : kExitNothing;
      }
    } else {
      const std::filesystem::path folder = command.operands.empty() ? "." : command.operands[0];
      const LoadedScenario scenario = load_scenario_files(located_scenario(folder, command.name, command.number, "timing"));
      times = running_times(scenario.cells, scenario.records, command.timing);
    }
  } catch (const FileError& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  }
  const ReadingDocument document = timing_document(*times, command.timing);
  if (command.json)
    print_document_json(document, console.out);
  else
    print_document_text(document, console.out);
  return any_time_missed(*times) ? kExitFaults : kExitClean;
}

}  // namespace scenario
