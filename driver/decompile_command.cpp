#include <new>

#include "decompile/decompile.hpp"
#include "decompile/round_trip.hpp"
#include "driver/commands.hpp"
#include "driver/compiled_scenario_search.hpp"
#include "driver/diagnostics.hpp"
#include "driver/output_folder.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "format/scenario_files.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

// Lines said under a heading, the way the differences of a round trip are listed.
void list(std::ostream& out, const std::string& heading, const std::vector<std::string>& lines, size_t more = 0) {
  if (lines.empty()) return;
  out << heading << "\n";
  for (const std::string& line : lines) out << "  " << line << "\n";
  if (more > 0) out << "  and " << more << " more\n";
}

// The name or number that the recovered sources are named with: as the records carry it, in
// UTF-8, so that compiling them by their names gives the records back; the file names'
// spelling when the records' text cannot name a file.
std::string source_name_part(const std::string& record_text, const std::string& file_spelling) {
  const std::string utf8 = utf8_from_1252(record_text);
  const bool names_a_file = !utf8.empty() && utf8 != "." && utf8 != ".." &&
                            utf8.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
  return names_a_file ? utf8 : file_spelling;
}

}  // namespace

int run_decompile_command(const DecompileCommand& command, Console& console) {
  const ScenarioLocation location = located_scenario(command.folder, command.name, command.number, "decompile");
  const std::string& name = location.name;
  const std::string& number = location.number;
  Diagnostics diagnostics(console.err, console.colour);
  // FileError when a file cannot be read: told as such by the caller, never as damaged.
  const CompiledFiles files = read_compiled_files(location);

  RecoveredSources sources;
  try {
    sources = decompile(files);
  } catch (const FileError& e) {
    diagnostics.error((command.folder / e.path()).string() + ": " + e.reason());
    return kExitNothing;
  }
  const ScenarioFileNames names = scenario_file_names(source_name_part(sources.texts.name, name),
                                                      source_name_part(sources.texts.number, number));
  // An author's edited sources are never written over by accident: without --force the set
  // refuses them, and it looks under the folder's lock, which it holds until it has written.
  ensure_folder(command.output);
  FileSet written(command.output, {names.line_source, names.service_source},
                  set_options(command.wait, command.force, diagnostics));  // both sources or neither
  written.add(names.line_source, sources.line);
  written.add(names.service_source, sources.service);
  written.commit();
  console.out << (command.output / names.line_source).string() << "\n"
              << (command.output / names.service_source).string() << "\n";
  list(console.out, "not written back:", sources.remarks);
  if (!command.verify) return sources.remarks.empty() ? kExitClean : kExitFaults;

  // The sources are written whatever the proof meets: a proof that fails says so, with the
  // status of a round trip that is not exact.
  const auto unchecked = [&diagnostics](const std::string& reason) {
    diagnostics.error("the two sources above are written, but the round trip could not be checked: " + reason);
    return kExitFaults;
  };
  RoundTripReport report;
  try {
    report = check_round_trip(files, sources);
  } catch (const std::bad_alloc&) {
    return unchecked("out of memory");
  } catch (const std::exception& e) {
    return unchecked(e.what());
  }
  list(console.out, "the recovered sources, compiled, record:", report.faults);
  if (report.exact() && sources.remarks.empty()) {
    console.out << "round trip exact\n";
    return kExitClean;
  }
  if (report.exact()) {
    console.out << "round trip exact, but for what was not written back\n";
    return kExitFaults;
  }
  list(console.out, "round trip not exact: the recompiled files differ", report.differences, report.unlisted);
  return kExitFaults;
}

}  // namespace scenario
