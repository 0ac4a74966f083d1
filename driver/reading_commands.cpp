#include "driver/commands.hpp"
#include "driver/compiled_scenario_search.hpp"
#include "driver/diagnostics.hpp"
#include "format/byte_reader.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/file_io.hpp"
#include "format/line_plan_points.hpp"
#include "format/scenario_files.hpp"
#include "reading/compiled_scenario.hpp"
#include "reading/scenario_diff.hpp"
#include "reading/scenario_summary.hpp"
#include "timing/running_times.hpp"
#include "timing/timing_document.hpp"

namespace scenario {
namespace {

// The scenario in `folder`; a choice that cannot be made is a usage error of `command`.
LoadedScenario load_scenario(const std::filesystem::path& folder, const std::optional<std::string>& name,
                               const std::optional<std::string>& number, const char* command) {
  return load_scenario_files(located_scenario(folder, name, number, command));
}

void print(const ReadingDocument& document, bool json, Console& console) {
  if (json)
    print_document_json(document, console.out);
  else
    print_document_text(document, console.out);
}

// Two compiled files of one kind, compared part by part.
ReadingDocument diff_files(const std::filesystem::path& a, const std::filesystem::path& b) {
  const auto kind = compiled_file_kind(a);
  if (!kind || kind != compiled_file_kind(b))
    throw UsageError("diff compares two compiled files of one kind (two *.sim, two *_linea.dat or two other *.dat): '" +
                         a.string() + "' and '" + b.string() + "'",
                     "diff");
  const std::string bytes_a = read_compiled_file(a, *kind), bytes_b = read_compiled_file(b, *kind);
  switch (*kind) {
    case CompiledFileKind::kRecords: {  // the first file's fault told first
      const auto records_a = decoded(a, [&] { return decode_records(bytes_a); });
      return diff_records(records_a, decoded(b, [&] { return decode_records(bytes_b); }));
    }
    case CompiledFileKind::kTrackCells: {
      const auto cells_a = decoded(a, [&] { return decode_track_cells(bytes_a); });
      return diff_cells(cells_a, decoded(b, [&] { return decode_track_cells(bytes_b); }));
    }
    case CompiledFileKind::kLinePlan: {
      const int64_t points_a = decoded(a, [&] { return computed_plan_points(bytes_a); });
      return diff_plans(bytes_a, points_a, bytes_b, decoded(b, [&] { return computed_plan_points(bytes_b); }));
    }
  }
  return {};
}

bool is_folder(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

}  // namespace

int run_summary_command(const SummaryCommand& command, Console& console) {
  Diagnostics diagnostics(console.err, console.colour);
  try {
    const LoadedScenario scenario = load_scenario(command.folder, command.name, command.number, "summary");
    // The running times first: what the run reads of the cells is gone before the summary
    // holds what it reads of them.
    DocumentSection times = running_times_section(running_times(scenario.cells, scenario.records, {}));
    ReadingDocument summary = summarise_scenario(scenario);
    summary.sections.push_back(std::move(times));
    print(summary, command.json, console);
  } catch (const FileError& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  }
  return kExitClean;
}

int run_diff_command(const DiffCommand& command, Console& console) {
  Diagnostics diagnostics(console.err, console.colour);
  ReadingDocument changes;
  for (const std::filesystem::path* path : {&command.first, &command.second}) {
    std::error_code ec;
    if (!std::filesystem::exists(*path, ec)) {
      diagnostics.error("cannot read '" + path->string() + "': no such file or folder");
      return kExitNothing;
    }
  }
  try {
    if (is_folder(command.first) && is_folder(command.second)) {
      const LoadedScenario a = load_scenario(command.first, command.name, command.number, "diff");
      const LoadedScenario b = load_scenario(command.second, command.name, command.number, "diff");
      changes = diff_scenarios(a, b);
      // What the changes do to the fastest run, which no byte names.
      if (!changes.sections.empty())
        add_running_time_changes(changes, running_times(a.cells, a.records, {}), running_times(b.cells, b.records, {}));
    } else if (is_folder(command.first) || is_folder(command.second)) {
      throw UsageError("diff compares two folders or two files, not a folder and a file", "diff");
    } else {
      changes = diff_files(command.first, command.second);
    }
  } catch (const FileError& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  }
  print(changes, command.json, console);
  return changes.sections.empty() ? kExitClean : kExitFaults;
}

}  // namespace scenario
