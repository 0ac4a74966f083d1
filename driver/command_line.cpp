#include "driver/command_line.hpp"

#include <vector>

namespace scenario {
namespace {

constexpr std::string_view kProgramHelp =
    R"(usage: scenario-builder [COMMAND] [OPTIONS]

A scenario compiler for a train-driving simulator.

With no command, builds the built-in scenario (Milano_Tortona, train 5) into the
program's folder: writes its two sources and three documents, compiles the
sources and writes the three compiled files.

commands:
  sources [-o DIR]           write the built-in scenario's five text files
  compile LINE SERVICE       compile your own line and service sources
  inspect FILE               show what a compiled file holds
  plot [DIR]                 draw a compiled scenario's route as an SVG picture
  help [COMMAND]             show this help, or a command's help

options:
  -h, --help                 show this help and exit
  --version                  show the version and exit

Run 'scenario-builder COMMAND --help' for a command's options.

exit status: 0 no fault, 1 faults recorded (files still written),
2 nothing compiled (bad usage, unreadable input, header fault, no track cells).
)";

constexpr std::string_view kSourcesHelp =
    R"(usage: scenario-builder sources [-o DIR] [--force]

Writes the built-in scenario's five text files into DIR: the line source
Milano_Tortona_linea.txt, the service source Milano_Tortona_5-.txt, the notes,
the slowdown order and the train card. Start from them, edit the two sources
and compile them with 'scenario-builder compile'.

options:
  -o, --output DIR   folder to write into (default: the current folder; made if missing)
  --force            replace files of those names already in DIR
  -h, --help         show this help and exit
)";

constexpr std::string_view kCompileHelp =
    R"(usage: scenario-builder compile LINE SERVICE [-o DIR] [--name NAME] [--number N] [--check]

Compiles a line source (NAME_linea.txt) and a service source (NAME_N-.txt)
into the three compiled files NAME_linea.dat, NAME_N.sim and NAME_N.dat.
NAME and N come from the two file names unless given. The sources are only
read, never changed or deleted.

Every fault is reported on standard error as FILE:LINE:COLUMN: error: ...
with the source line, or as scenario-builder: error: ... when no source row
caused it; the last line then sums up the faults recorded.

options:
  -o, --output DIR   folder for the compiled files (default: the current folder)
  --name NAME        scenario base name (default: from LINE)
  --number N         train/scenario number (default: from SERVICE)
  --check            compile and report, but write no file
  -h, --help         show this help and exit

exit status: 0 no fault, 1 faults recorded (files still written),
2 nothing compiled (bad usage, unreadable input, header fault, no track cells).
)";

constexpr std::string_view kInspectHelp =
    R"(usage: scenario-builder inspect FILE [--all] [--json | --annotate]

Decodes a compiled file, told by its name: *_linea.dat (line plan),
*.sim (scenario records) or any other *.dat (track cells).

By default prints a table: the cells that hold anything, the filled record
slots with their roles, or a summary of the line plan.

options:
  --all        every cell, or every point of the plan
  --json       one JSON document of the same content
  --annotate   every field as it lies in the file: offset, bytes, name, value
  -h, --help   show this help and exit

A truncated or malformed file is reported with the byte offset where decoding
failed (exit status 2).
)";

constexpr std::string_view kPlotHelp =
    R"(usage: scenario-builder plot [DIR] [--name NAME --number N] [-o FILE.svg]

Draws the route of a scenario compiled into DIR (default: the current folder)
from its three compiled files: the plan of the track with its stations and
signals, and the profile along the route with the line speed, the gradient,
the slowdowns, the stations, the signals and the code reduction points.
The picture is one self-contained SVG file.

options:
  --name NAME        scenario base name (default: the one scenario in DIR)
  --number N         train/scenario number (default: the one scenario in DIR)
  -o, --output FILE  the picture (default: DIR/NAME_N.svg)
  -h, --help         show this help and exit
)";

struct CommandHelp {
  std::string_view name;
  std::string_view text;
};

constexpr CommandHelp kCommandHelps[] = {
    {"sources", kSourcesHelp},
    {"compile", kCompileHelp},
    {"inspect", kInspectHelp},
    {"plot", kPlotHelp},
};

bool is_command(std::string_view name) {
  for (const auto& help : kCommandHelps)
    if (help.name == name) return true;
  return false;
}

// Walks one command's arguments: options (with "--opt VALUE" or "--opt=VALUE") and the
// positional arguments, "--" ending the options.
class ArgumentWalk {
 public:
  ArgumentWalk(std::span<const std::string_view> arguments, std::string_view command)
      : arguments_(arguments), command_(command) {}

  // Moves to the next argument; false at the end.
  bool next() {
    if (index_ >= arguments_.size()) return false;
    const std::string_view arg = arguments_[index_++];
    if (!options_ended_ && arg == "--") {
      options_ended_ = true;
      return next();
    }
    is_option_ = !options_ended_ && arg.size() > 1 && arg.front() == '-';
    inline_value_.reset();
    option_ = arg;
    if (is_option_ && arg.starts_with("--")) {
      if (const size_t equals = arg.find('='); equals != std::string_view::npos) {
        option_ = arg.substr(0, equals);
        inline_value_ = arg.substr(equals + 1);
      }
    }
    return true;
  }

  bool is_option() const { return is_option_; }
  std::string_view argument() const { return option_; }
  bool is(std::string_view short_name, std::string_view long_name) const {
    return is_option_ && ((!short_name.empty() && option_ == short_name) || option_ == long_name);
  }

  // The value of the current option: after "=" or the next argument.
  std::string value() {
    if (inline_value_) return std::string(*inline_value_);
    if (index_ >= arguments_.size()) fail("option " + std::string(option_) + " needs a value");
    return std::string(arguments_[index_++]);
  }

  // A flag takes no value.
  void flag() const {
    if (inline_value_) fail("option " + std::string(option_) + " takes no value");
  }

  [[noreturn]] void fail(const std::string& message) const { throw UsageError(message, std::string(command_)); }
  [[noreturn]] void unknown() const {
    fail("unknown option '" + std::string(option_) + "' for " + std::string(command_));
  }

 private:
  std::span<const std::string_view> arguments_;
  std::string_view command_;
  size_t index_ = 0;
  bool options_ended_ = false;
  bool is_option_ = false;
  std::string_view option_;
  std::optional<std::string_view> inline_value_;
};

bool is_help(const ArgumentWalk& walk) { return walk.is("-h", "--help"); }

template <typename T>
void set_once(ArgumentWalk& walk, std::optional<T>& slot, T value) {
  if (slot) walk.fail("option " + std::string(walk.argument()) + " given twice");
  slot = std::move(value);
}

Command parse_sources(ArgumentWalk& walk) {
  SourcesCommand command;
  std::optional<std::filesystem::path> folder;
  while (walk.next()) {
    if (is_help(walk)) return HelpCommand{"sources"};
    if (walk.is("-o", "--output")) {
      set_once(walk, folder, std::filesystem::path(walk.value()));
    } else if (walk.is("", "--force")) {
      walk.flag();
      command.force = true;
    } else if (walk.is_option()) {
      walk.unknown();
    } else {
      walk.fail("sources takes no file names; use -o DIR for the folder");
    }
  }
  if (folder) command.folder = *folder;
  return command;
}

Command parse_compile(ArgumentWalk& walk) {
  CompileCommand command;
  std::optional<std::filesystem::path> folder;
  std::vector<std::string> files;
  while (walk.next()) {
    if (is_help(walk)) return HelpCommand{"compile"};
    if (walk.is("-o", "--output")) {
      set_once(walk, folder, std::filesystem::path(walk.value()));
    } else if (walk.is("", "--name")) {
      set_once(walk, command.name, walk.value());
    } else if (walk.is("", "--number")) {
      set_once(walk, command.number, walk.value());
    } else if (walk.is("", "--check")) {
      walk.flag();
      command.check = true;
    } else if (walk.is_option()) {
      walk.unknown();
    } else {
      files.emplace_back(walk.argument());
    }
  }
  if (files.size() != 2) {
    walk.fail("compile needs two source files, LINE and SERVICE; " + std::to_string(files.size()) + " given");
  }
  command.line_source = files[0];
  command.service_source = files[1];
  if (folder) command.folder = *folder;
  return command;
}

Command parse_inspect(ArgumentWalk& walk) {
  InspectCommand command;
  std::optional<std::string> file;
  std::optional<InspectCommand::Format> format;
  while (walk.next()) {
    if (is_help(walk)) return HelpCommand{"inspect"};
    if (walk.is("", "--all")) {
      walk.flag();
      command.all = true;
    } else if (walk.is("", "--json") || walk.is("", "--annotate")) {
      walk.flag();
      const auto chosen = walk.argument() == "--json" ? InspectCommand::Format::kJson : InspectCommand::Format::kAnnotate;
      if (format && *format != chosen) walk.fail("--json and --annotate cannot be used together");
      format = chosen;
    } else if (walk.is_option()) {
      walk.unknown();
    } else {
      if (file) walk.fail("inspect takes one file");
      file = std::string(walk.argument());
    }
  }
  if (!file) walk.fail("inspect needs a compiled file");
  command.file = *file;
  if (format) command.format = *format;
  return command;
}

Command parse_plot(ArgumentWalk& walk) {
  PlotCommand command;
  std::optional<std::filesystem::path> folder;
  while (walk.next()) {
    if (is_help(walk)) return HelpCommand{"plot"};
    if (walk.is("-o", "--output")) {
      set_once(walk, command.output, std::filesystem::path(walk.value()));
    } else if (walk.is("", "--name")) {
      set_once(walk, command.name, walk.value());
    } else if (walk.is("", "--number")) {
      set_once(walk, command.number, walk.value());
    } else if (walk.is_option()) {
      walk.unknown();
    } else {
      if (folder) walk.fail("plot takes one folder");
      folder = std::filesystem::path(walk.argument());
    }
  }
  if (folder) command.folder = *folder;
  return command;
}

Command parse_help(ArgumentWalk& walk) {
  std::optional<std::string> topic;
  while (walk.next()) {
    if (is_help(walk)) return HelpCommand{"help"};
    if (walk.is_option()) walk.unknown();
    if (topic) walk.fail("help takes one command name");
    topic = std::string(walk.argument());
  }
  if (topic && !is_command(*topic)) walk.fail("no command named '" + *topic + "'");
  return HelpCommand{topic.value_or("")};
}

}  // namespace

Command parse_command_line(std::span<const std::string_view> arguments) {
  if (arguments.empty()) return BuildCommand{};
  const std::string_view first = arguments.front();
  if (first == "--help" || first == "-h") {
    if (arguments.size() > 1) throw UsageError("--help takes nothing after it");
    return HelpCommand{""};
  }
  if (first == "--version") {
    if (arguments.size() > 1) throw UsageError("--version takes nothing after it");
    return VersionCommand{};
  }
  ArgumentWalk walk(arguments.subspan(1), first);
  if (first == "sources") return parse_sources(walk);
  if (first == "compile") return parse_compile(walk);
  if (first == "inspect") return parse_inspect(walk);
  if (first == "plot") return parse_plot(walk);
  if (first == "help") return parse_help(walk);
  if (first.starts_with("-")) throw UsageError("unknown option '" + std::string(first) + "'");
  throw UsageError("unknown command '" + std::string(first) + "'");
}

std::string help_text(std::string_view topic) {
  for (const auto& help : kCommandHelps)
    if (help.name == topic) return std::string(help.text);
  return std::string(kProgramHelp);
}

std::string version_text() { return std::string("scenario-builder ") + SCENARIO_BUILDER_VERSION + "\n"; }

}  // namespace scenario
