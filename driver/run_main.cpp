#include "driver/run_main.hpp"

#include <exception>
#include <new>
#include <variant>

#include "driver/diagnostics.hpp"
#include "driver/output_folder.hpp"
#include "driver/program_folder.hpp"
#include "format/file_io.hpp"

namespace scenario {
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

}  // namespace

int run_main(const std::vector<std::string_view>& arguments, Console& console) {
  Diagnostics diagnostics(console.err, console.colour);
  try {
    return std::visit(Dispatch{console}, parse_command_line(arguments));
  } catch (const UsageError& e) {
    diagnostics.error(e.what());
    const std::string command = e.topic().empty() ? "" : e.topic() + " ";
    console.err << "Try 'scenario-builder " << command << "--help' for more information.\n";
    return kExitNothing;
  } catch (const FilesAlreadyThere& e) {
    diagnostics.error(already_there_message(e));
    return kExitNothing;
  } catch (const std::bad_alloc&) {
    diagnostics.error("out of memory");
    return kExitNothing;
  } catch (const std::exception& e) {
    diagnostics.error(e.what());
    return kExitNothing;
  }
}

}  // namespace scenario
