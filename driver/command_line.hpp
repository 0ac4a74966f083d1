#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "driver/diagnostics_format.hpp"
#include "timing/timing_settings.hpp"

namespace scenario {

// A command line that asks for nothing this program does; exit status 2. `topic` is the
// command whose help would explain it ("" for the program).
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message, std::string topic = "")
      : std::runtime_error(message), topic_(std::move(topic)) {}
  const std::string& topic() const { return topic_; }

 private:
  std::string topic_;
};

// No arguments: the built-in scenario build into the program's folder.
struct BuildCommand {};

// --help, -h, help [COMMAND], COMMAND --help.
struct HelpCommand {
  std::string topic;  // "" for the whole program, else a command's name
};

struct VersionCommand {};

struct SourcesCommand {
  std::filesystem::path folder = ".";
  bool force = false;  // replace texts already in the folder
  bool wait = true;  // wait for another run into the output folder; --no-wait gives up
};

struct CompileCommand {
  std::filesystem::path line_source;
  std::filesystem::path service_source;
  std::filesystem::path folder = ".";
  std::optional<std::string> name;
  std::optional<std::string> number;
  bool check = false;  // compile and report, write nothing
  DiagnosticsFormat diagnostics_format = DiagnosticsFormat::kText;
  std::optional<std::filesystem::path> diagnostics_output;  // the diagnostics go to this file, not standard error
  bool write_on_fault = false;   // write the compiled files even when faults are recorded
  bool warnings_as_faults = false;  // --werror
  bool silence_warnings = false;    // -w
  bool utf8_input = false;          // --input-encoding utf-8: sources converted to Windows-1252 first
  bool wait = true;  // wait for another run into the output folder; --no-wait gives up
  TimingSettings timing;  // what the running-time check assumes of the train
};

struct InspectCommand {
  enum class Format { kTable, kJson, kAnnotate };
  std::filesystem::path file;
  bool all = false;
  Format format = Format::kTable;
};

struct PlotCommand {
  std::filesystem::path folder = ".";
  std::optional<std::string> name;    // default: the one scenario compiled in the folder
  std::optional<std::string> number;
  std::optional<std::filesystem::path> output;  // default: <folder>/<name>_<n>.svg; "-" standard output
  bool kilometre_axis = false;  // the readings of the driver's papers instead of route metres
  std::optional<int64_t> from_m;  // a window of the route
  std::optional<int64_t> to_m;
  bool wait = true;  // wait for another run into the output folder; --no-wait gives up
};

struct SummaryCommand {
  std::filesystem::path folder = ".";
  std::optional<std::string> name;
  std::optional<std::string> number;
  bool json = false;
};

struct DiffCommand {
  std::filesystem::path first;   // two folders, or two compiled files of one kind
  std::filesystem::path second;
  std::optional<std::string> name;
  std::optional<std::string> number;
  bool json = false;
};

struct DecompileCommand {
  std::filesystem::path folder = ".";  // where the compiled files are
  std::optional<std::string> name;     // default: the one scenario compiled in the folder
  std::optional<std::string> number;
  std::filesystem::path output = ".";  // where the sources go
  bool force = false;                  // replace sources already there
  bool verify = true;                  // compile the sources back and compare
  bool wait = true;  // wait for another run into the output folder; --no-wait gives up
};

struct DocumentsCommand {
  std::filesystem::path folder = ".";  // where the compiled files are
  std::optional<std::string> name;     // default: the one scenario compiled in the folder
  std::optional<std::string> number;
  std::filesystem::path output = ".";  // where the documents go
  bool force = false;                  // replace documents already there
  std::string train_class;             // what the compiled files do not hold (UTF-8; "" leaves it blank)
  std::string rank;
  std::string mass_t;
  bool wait = true;  // wait for another run into the output folder; --no-wait gives up
};

struct ExplainCommand {
  std::optional<std::string> fault;  // the number as given; none lists every fault
  bool markdown = false;             // every fault in Markdown, as the source-format reference holds them
};

// The running times of a scenario: its two sources compiled in memory, or the scenario
// compiled into a folder.
struct TimingCommand {
  std::vector<std::filesystem::path> operands;  // LINE SERVICE, or DIR, or none (the current folder)
  std::optional<std::string> name;
  std::optional<std::string> number;
  bool json = false;
  TimingSettings timing;
};

// The language server on standard input and output; it takes nothing.
struct LspCommand {};

using Command = std::variant<BuildCommand, HelpCommand, VersionCommand, SourcesCommand, CompileCommand,
                             InspectCommand, PlotCommand, SummaryCommand, DiffCommand, DecompileCommand, DocumentsCommand,
                             ExplainCommand, TimingCommand, LspCommand>;

// The arguments after the program's name. Throws UsageError.
Command parse_command_line(std::span<const std::string_view> arguments);

// The help of the whole program ("") or of one command, for standard output.
std::string help_text(std::string_view topic);

// "scenario-builder 1.0.0".
std::string version_text();

// What a command's operands name, for the shell completions.
enum class OperandKind { kNone, kSourceFiles, kCompiledFile, kFolder, kFoldersOrCompiledFiles, kFaultNumber, kCommandName };

// One option as its command's table holds it, for pages made from the tables.
struct OptionReference {
  std::string_view short_name;  // "-o", or ""
  std::string_view long_name;   // "--output"
  std::string_view value_name;  // "DIR", "km|m"; "" for a flag
  std::string_view help;
};

// What an option's value names, told by its value name: a name ending in DIR a folder,
// FILE.ext a file of that kind, "a|b" one of the choices, anything else free text.
enum class ValueKind { kText, kFolder, kFile, kChoice };
ValueKind value_kind(std::string_view value_name);

// One command as its table holds it: what its help shows, for the manual page and the
// shell completions.
struct CommandReference {
  std::string_view name;
  std::string_view operands;     // "LINE SERVICE", "[DIR]", ""
  OperandKind operand_kind;
  std::string_view summary;
  std::string_view description;
  std::vector<OptionReference> options;
  std::string_view epilogue;
};

// Every command, in the order the program's help lists them.
std::vector<CommandReference> command_references();

// The paragraph of the program's help that says what it is, and the exit statuses of a compile.
std::string_view program_description();
std::string_view compile_exit_status_text();

}  // namespace scenario
