#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "driver/command_line.hpp"

namespace scenario {

// Where a command writes: results to `out`, diagnostics to `err`, coloured or not.
struct Console {
  std::ostream& out;
  std::ostream& err;
  bool colour = false;
};

// Exit statuses of every command.
inline constexpr int kExitClean = 0;
inline constexpr int kExitFaults = 1;      // faults recorded (or warnings with --werror)
inline constexpr int kExitNothing = 2;     // nothing compiled or done: usage, input, header fault

// The built-in scenario build into `folder`, with diagnostics.
int run_build_command(const std::filesystem::path& folder, Console& console);
int run_compile_command(const CompileCommand& command, Console& console);
int run_sources_command(const SourcesCommand& command, Console& console);
int run_inspect_command(const InspectCommand& command, Console& console);
int run_plot_command(const PlotCommand& command, Console& console);
int run_summary_command(const SummaryCommand& command, Console& console);
// 0 when the two are equal, 1 when they differ, 2 on trouble.
int run_diff_command(const DiffCommand& command, Console& console);
int run_decompile_command(const DecompileCommand& command, Console& console);
int run_documents_command(const DocumentsCommand& command, Console& console);
int run_explain_command(const ExplainCommand& command, Console& console);
// 0 every timetable time can be kept, 1 one cannot (or the sources hold faults), 2 trouble.
int run_timing_command(const TimingCommand& command, Console& console);
// Serves the language server protocol on standard input and `console.out`.
int run_lsp_command(Console& console);

}  // namespace scenario
