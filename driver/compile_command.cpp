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

// The compile proper, its diagnostics told to `out`.
int compile_with_diagnostics(const CompileCommand& command, const ScenarioIdentity& identity, std::ostream& out,
                             bool colour) {
  Diagnostics diagnostics(out, colour, command.diagnostics_format);

  struct Input {
    const char* role;
    const std::filesystem::path& path;
    std::string bytes;
  };
  Input inputs[] = {{"line source", command.line_source, {}}, {"service source", command.service_source, {}}};
  // Each source is opened once and read whole, whatever it is (a file, a pipe, a FIFO).
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
  if (!readable) return kExitNothing;

  const ScenarioFileNames names = scenario_file_names(identity.name, identity.number);
  if (!command.check) {
    // The author's sources are never written over, whatever the names and folder say.
    for (const std::string& output : {names.line_plan, names.records, names.track_cells}) {
      for (const Input& input : inputs) {
        if (is_same_file(input.path, command.folder / output)) {
          diagnostics.error("the compiled file '" + (command.folder / output).string() + "' would replace the " +
                            input.role + " '" + input.path.string() + "'; nothing compiled");
          return kExitNothing;
        }
      }
    }
  }

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
  return compile_and_report(
      diagnostics,
      [&] {
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
      });
}

}  // namespace

int run_compile_command(const CompileCommand& command, Console& console) {
  const ScenarioIdentity identity =
      infer_scenario_identity(command.line_source, command.service_source, command.name, command.number);
  // The diagnostics never take the place of a source, by any name or link: that is looked at
  // before anything is opened for writing.
  if (command.diagnostics_output) {
    for (const auto& [role, source] : {std::pair{"line source", &command.line_source},
                                       std::pair{"service source", &command.service_source}}) {
      if (is_same_file(*source, *command.diagnostics_output)) {
        Diagnostics(console.err, console.colour)
            .error("the diagnostics file '" + command.diagnostics_output->string() + "' would replace the " + role +
                   " '" + source->string() + "'; nothing compiled");
        return kExitNothing;
      }
    }
  }
  // Opened before the diagnostics, so that it outlives their closing words.
  std::optional<DescriptorOutputBuffer> diagnostics_buffer;
  if (command.diagnostics_output) {
    try {
      diagnostics_buffer.emplace(*command.diagnostics_output);
    } catch (const FileError& e) {
      Diagnostics(console.err, console.colour)
          .error("cannot write the diagnostics to '" + command.diagnostics_output->string() + "': " + e.reason());
      return kExitNothing;
    }
  }
  std::ostream diagnostics_file(diagnostics_buffer ? &*diagnostics_buffer : nullptr);
  const int status = compile_with_diagnostics(
      command, identity, diagnostics_buffer ? diagnostics_file : console.err, diagnostics_buffer ? false : console.colour);
  if (!diagnostics_buffer) return status;
  diagnostics_file.flush();
  if (diagnostics_buffer->failure() != 0) {
    // A full disk leaves the diagnostics cut short: the run cannot pass for one that said all.
    Diagnostics(console.err, console.colour)
        .error("cannot write the diagnostics to '" + command.diagnostics_output->string() +
               "': " + std::strerror(diagnostics_buffer->failure()));
    return kExitNothing;
  }
  return status;
}

}  // namespace scenario
