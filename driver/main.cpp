#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <iostream>
#include <string_view>
#include <variant>
#include <vector>

#include "driver/commands.hpp"
#include "driver/control_escapes.hpp"
#include "driver/descriptor_output.hpp"
#include "driver/diagnostics.hpp"
#include "driver/output_folder.hpp"
#include "driver/process_setup.hpp"
#include "driver/program_folder.hpp"
#include "format/file_io.hpp"

using namespace scenario;

namespace {

struct Dispatch {
  Console& console;

  int operator()(const BuildCommand&) const { return run_build_command(program_folder(), console); }
  int operator()(const HelpCommand& help) const {
    console.out << help_text(help.topic);
    return kExitClean;
  }
  int operator()(const VersionCommand&) const {
    console.out << version_text();
    return kExitClean;
  }
  int operator()(const SourcesCommand& command) const { return run_sources_command(command, console); }
  int operator()(const CompileCommand& command) const { return run_compile_command(command, console); }
  int operator()(const InspectCommand& command) const { return run_inspect_command(command, console); }
  int operator()(const PlotCommand& command) const { return run_plot_command(command, console); }
  int operator()(const SummaryCommand& command) const { return run_summary_command(command, console); }
  int operator()(const DiffCommand& command) const { return run_diff_command(command, console); }
  int operator()(const DecompileCommand& command) const { return run_decompile_command(command, console); }
  int operator()(const DocumentsCommand& command) const { return run_documents_command(command, console); }
  int operator()(const ExplainCommand& command) const { return run_explain_command(command, console); }
  int operator()(const TimingCommand& command) const { return run_timing_command(command, console); }
  int operator()(const LspCommand&) const { return run_lsp_command(console); }
};

// Standard output that could not be written whole (a full disk, /dev/full) fails the
// command, whatever it printed: a cut listing must not pass for a whole one.
//
// A reader that stopped reading (`| head`) wanted no more: the command ends quietly, with
// the status of output that could not be written whole.
int with_output_checked(int status, const DescriptorOutputBuffer& output, Diagnostics& diagnostics) {
  errno = 0;
  std::cout.flush();
  if (std::cout && output.failure() == 0 && std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return status;
  if (output_pipe_closed() || output.failure() == EPIPE) return kExitNothing;
  // The reason of the write that failed, kept when it failed ("No space left on device").
  const int error = output.failure() != 0 ? output.failure() : errno;
  diagnostics.error(std::string("cannot write to standard output: ") +
                    (error != 0 ? std::strerror(error) : "it could not be written whole"));
  return kExitNothing;
}

}  // namespace

int main(int argc, char** argv) {
  prepare_process();
  // Listings and summaries on a terminal show control characters escaped.
  // Kept to the end of the process: standard output is flushed after main returns.
  // Written to the descriptor directly, which keeps why a write failed.
  auto* const output = new DescriptorOutputBuffer(1);
  std::cout.rdbuf(output);
  if (::isatty(1) == 1) std::cout.rdbuf(new ControlEscapingBuffer(output));
  Console console{std::cout, std::cerr, colour_wanted(2)};
  Diagnostics diagnostics(std::cerr, console.colour);
  try {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    return with_output_checked(std::visit(Dispatch{console}, parse_command_line(arguments)), *output, diagnostics);
  } catch (const UsageError& e) {
    diagnostics.error(e.what());
    const std::string command = e.topic().empty() ? "" : e.topic() + " ";
    std::cerr << "Try 'scenario-builder " << command << "--help' for more information.\n";
    return kExitNothing;
  } catch (const FilesAlreadyThere& e) {
    diagnostics.error(already_there_message(e));
    return kExitNothing;
  } catch (const FileError& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  } catch (const std::bad_alloc&) {
    diagnostics.error("out of memory");
    return kExitNothing;
  } catch (const std::exception& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  }
}
