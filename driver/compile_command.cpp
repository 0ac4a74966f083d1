#include <array>
#include <cstring>
#include <optional>
#include <ostream>
#include <utility>
#include <functional>
#include <system_error>
#include <vector>

#include "compiler/source_encoding.hpp"
#include "compiler/source_file.hpp"
#include "driver/build_run.hpp"
#include "driver/commands.hpp"
#include "driver/compile_report.hpp"
#include "compiler/compile_entry.hpp"
#include "driver/descriptor_output.hpp"
#include "driver/diagnostics.hpp"
#include "driver/output_folder.hpp"
#include "driver/scenario_identity.hpp"
#include "format/file_io.hpp"
#include "format/scenario_files.hpp"
#include "model/runtime_failure.hpp"
#include "timing/compile_timing_check.hpp"

namespace scenario {

int compile_and_report(Diagnostics& diagnostics, const std::function<CompileResult()>& work) {
  int status = kExitNothing;
  try {
    const CompileResult result = work();
    switch (result.status) {
      case CompileStatus::kHeaderFault:
        diagnostics.shown_fault(result.shown_fault);
        break;
      case CompileStatus::kNoTrackCells:
        diagnostics.error("nothing compiled: the sources gave no track cells");
        break;
      case CompileStatus::kCompiled:
        status = result.last_fault != 0 || diagnostics.compile_failed() ? kExitFaults : kExitClean;
        break;
    }
  } catch (const FileError& e) {
    diagnostics.error(e.what());
    status = kExitNothing;
  } catch (const SourceEncodingError& e) {
    diagnostics.on_diagnostic(e.diagnostic());
    status = kExitNothing;
  }
  diagnostics.close();
  return status;
}

int run_build_command(const std::filesystem::path& folder, Console& console) {
  ScenarioModel model;
  Diagnostics diagnostics(console.err, console.colour);
  return compile_and_report(diagnostics, [&] {
    return run_builtin_build(model, folder, console.out, set_options(true, true, diagnostics), &diagnostics);
  });
}

namespace {

// The two sources of a compile, as the author named them.
struct Input {
  const char* role;
  const std::filesystem::path& path;
  std::string bytes;
};
using Inputs = std::array<Input, 2>;

// Each source is opened once and read whole, whatever it is (a file, a pipe, a FIFO); false
// when one cannot be, each that cannot told.
bool read_sources(Inputs& inputs, Diagnostics& diagnostics) {
  bool readable = true;
  for (Input& input : inputs) {
    try {
      input.bytes = read_file(input.path, kMaxSourceBytes);
    } catch (const FileError& e) {
      diagnostics.error("cannot read the " + std::string(input.role) + " '" + input.path.string() + "': " + e.reason(),
                        input.path.string());
      readable = false;
    }
  }
  return readable;
}

// The author's sources are never written over, whatever the names and folder say: true, and
// told, when a compiled file would take the place of one.
bool output_would_replace_a_source(const CompileCommand& command, const ScenarioFileNames& names,
                                   const Inputs& inputs, Diagnostics& diagnostics) {
  for (const std::string& output : {names.line_plan, names.records, names.track_cells}) {
    for (const Input& input : inputs) {
      if (is_same_file(input.path, command.folder / output)) {
        diagnostics.error("the compiled file '" + (command.folder / output).string() + "' would replace the " +
                          input.role + " '" + input.path.string() + "'; nothing compiled");
        return true;
      }
    }
  }
  return false;
}

// The compile of two sources read, its running times checked, and its files written unless
// only a check was asked for or the compile found faults that the author did not accept.
CompileResult compile_and_write(const CompileCommand& command, ScenarioModel& model, SourceFile& line,
                                SourceFile& service, Diagnostics& diagnostics) {
  // Both sources are read before anything is compiled: one that cannot be read as text
  // stops the compile whole.
  try {
    line.contents();
    service.contents();
  } catch (const RuntimeFailure&) {
    // An unreadable source is the compile's own fault 25, recorded as it reads it.
  }
  CompileContext context(model, &diagnostics);
  const CompileResult result = compile_scenario(context, 1, line, service);
  if (result.status == CompileStatus::kCompiled) check_running_times(context, command.timing);
  // Encoded as for writing, so that the check says all that the compile would.
  if (result.status == CompileStatus::kCompiled && command.check) encode_compiled_files_for_nothing(model);
  if (result.status != CompileStatus::kCompiled || command.check) return result;
  // Files of a compile that found faults would hold a scenario cut short where the reading
  // stopped: the older files stay as they were unless the author asks for these.
  const bool faulty = result.last_fault != 0 || diagnostics.compile_failed();
  if (faulty && !command.write_on_fault) {
    diagnostics.nothing_written();
    return result;
  }
  ensure_folder(command.folder);
  write_compiled_files(model, command.folder, set_options(command.wait, true, diagnostics));
  return result;
}

// The compile proper, its diagnostics told to `out`.
int compile_with_diagnostics(const CompileCommand& command, const ScenarioIdentity& identity, std::ostream& out,
                             bool colour) {
  Diagnostics diagnostics(out, colour, command.diagnostics_format);
  Inputs inputs{Input{"line source", command.line_source, {}}, Input{"service source", command.service_source, {}}};
  if (!read_sources(inputs, diagnostics)) return kExitNothing;
  const ScenarioFileNames names = scenario_file_names(identity.name, identity.number);
  if (!command.check && output_would_replace_a_source(command, names, inputs, diagnostics)) return kExitNothing;

  ScenarioModel model;
  model.scenario_name = identity.name_text;
  model.scenario_number = identity.number_text;
  SourceFile line = SourceFile::already_read(command.line_source, std::move(inputs[0].bytes));
  SourceFile service = SourceFile::already_read(command.service_source, std::move(inputs[1].bytes));
  if (command.utf8_input) {
    line.read_as_utf8();
    service.read_as_utf8();
  }
  diagnostics.show_file_as(line.name(), command.line_source.string());
  diagnostics.show_file_as(service.name(), command.service_source.string());
  // What no row caused concerns the scenario as a whole: it is told of the line source.
  diagnostics.concern_unplaced_with(line.name());
  if (command.silence_warnings) diagnostics.silence_warnings();
  if (command.warnings_as_faults) diagnostics.warnings_as_errors();
  return compile_and_report(diagnostics,
                            [&] { return compile_and_write(command, model, line, service, diagnostics); });
}

// The diagnostics never take the place of a source, by any name or link: true, and told,
// when the file asked for would. Looked at before anything is opened for writing.
bool diagnostics_would_replace_a_source(const CompileCommand& command, Console& console) {
  for (const auto& [role, source] : {std::pair{"line source", &command.line_source},
                                     std::pair{"service source", &command.service_source}}) {
    if (is_same_file(*source, *command.diagnostics_output)) {
      Diagnostics(console.err, console.colour)
          .error("the diagnostics file '" + command.diagnostics_output->string() + "' would replace the " + role +
                 " '" + source->string() + "'; nothing compiled");
      return true;
    }
  }
  return false;
}

// The compile with its diagnostics written to the file asked for instead of the console.
int compile_into_diagnostics_file(const CompileCommand& command, const ScenarioIdentity& identity, Console& console) {
  if (diagnostics_would_replace_a_source(command, console)) return kExitNothing;
  // Opened before the diagnostics, so that it outlives their closing words.
  std::optional<DescriptorOutputBuffer> buffer;
  try {
    buffer.emplace(*command.diagnostics_output);
  } catch (const FileError& e) {
    Diagnostics(console.err, console.colour)
        .error("cannot write the diagnostics to '" + command.diagnostics_output->string() + "': " + e.reason());
    return kExitNothing;
  }
  std::ostream file(&*buffer);
  const int status = compile_with_diagnostics(command, identity, file, false);
  file.flush();
  if (buffer->failure() != 0) {
    // A full disk leaves the diagnostics cut short: the run cannot pass for one that said all.
    Diagnostics(console.err, console.colour)
        .error("cannot write the diagnostics to '" + command.diagnostics_output->string() +
               "': " + std::strerror(buffer->failure()));
    return kExitNothing;
  }
  return status;
}

}  // namespace

int run_compile_command(const CompileCommand& command, Console& console) {
  const ScenarioIdentity identity =
      infer_scenario_identity(command.line_source, command.service_source, command.name, command.number);
  if (command.diagnostics_output) return compile_into_diagnostics_file(command, identity, console);
  return compile_with_diagnostics(command, identity, console.err, console.colour);
}

}  // namespace scenario
