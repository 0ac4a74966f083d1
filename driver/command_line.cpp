#include "driver/command_line.hpp"

#include <charconv>

#include "driver/option_table.hpp"

namespace scenario {
namespace {

constexpr std::string_view kExitStatusText =
    R"(exit status: 0 no fault, 1 faults recorded (compile then writes no file
unless --write-on-fault; the built-in build still writes them), 2 nothing
compiled (bad usage, unreadable input, header fault, no track cells).
)";

constexpr std::string_view kProgramDescription =
    R"(A scenario compiler for a train-driving simulator.

With no command, builds the built-in scenario (Milano_Tortona, train 5) into the
program's folder: writes its two sources and three documents, compiles the
sources and writes the three compiled files.
)";

std::string no_more_operands(std::string message, std::size_t index) { return index == 0 ? "" : message; }

// A whole number of metres along the route.
int64_t metres_option(std::string_view option, std::string_view value) {
  int64_t metres = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), metres);
  if (error != std::errc() || end != value.data() + value.size() || metres < 0)
    throw UsageError(std::string(option) + " takes whole metres from the start of the route, not '" +
                        std::string(value) + "'");
  return metres;
}

// Every command that writes into a folder takes turns with other runs into it.
template <typename C>
constexpr Option<C> kWaitOption{{"", "--wait", "", "wait for another run writing into the folder to end (the default)", "wait"},
                                [](C& c, std::string_view) { c.wait = true; }};
template <typename C>
constexpr Option<C> kNoWaitOption{{"", "--no-wait", "", "give up at once (exit status 2) while another run writes there", "wait"},
                                  [](C& c, std::string_view) { c.wait = false; }};

// The running-time settings, the same for every command that checks running times.
template <typename C, size_t I>
constexpr Option<C> kTimingOption{{"", kTimingSettingTexts[I].option, kTimingSettingTexts[I].value_name,
                                   kTimingSettingTexts[I].help},
                                  [](C& c, std::string_view value) {
                                    try {
                                      apply_timing_setting(c.timing, kTimingSettingTexts[I].name, value);
                                    } catch (const std::invalid_argument& e) {
                                      throw UsageError(std::string("--") + e.what());
                                    }
                                  }};

// sources

constexpr Option<SourcesCommand> kSourcesOptions[] = {
    {{"-o", "--output", "DIR", "folder to write into (default: the current folder; made if missing)"},
     [](SourcesCommand& c, std::string_view value) { c.folder = value; }},
    {{"", "--force", "", "replace files of those names already in DIR"},
     [](SourcesCommand& c, std::string_view) { c.force = true; }},
    kWaitOption<SourcesCommand>,
    kNoWaitOption<SourcesCommand>,
};

constexpr CommandSpec<SourcesCommand> kSources{
    .name = "sources",
    .operands = "",
    .operand_kind = OperandKind::kNone,
    .summary = "write the built-in scenario's five text files",
    .description = R"(Writes the built-in scenario's five text files into DIR: the line source
Milano_Tortona_linea.txt, the service source Milano_Tortona_5-.txt, the notes,
the slowdown order and the train card. Start from them, edit the two sources
and compile them with 'scenario-builder compile'.
)",
    .options = kSourcesOptions,
    .take_operand = [](SourcesCommand&, std::string_view, std::size_t) -> std::string {
      return "sources takes no file names; use -o DIR for the folder";
    },
    .check = [](const SourcesCommand&, std::size_t) -> std::string { return ""; },
};

// compile

constexpr Option<CompileCommand> kCompileOptions[] = {
    {{"-o", "--output", "DIR", "folder for the compiled files (default: the current folder)"},
     [](CompileCommand& c, std::string_view value) { c.folder = value; }},
    {{"", "--name", "NAME", "scenario base name (default: from LINE)"},
     [](CompileCommand& c, std::string_view value) { c.name = std::string(value); }},
    {{"", "--number", "N", "train/scenario number (default: from SERVICE)"},
     [](CompileCommand& c, std::string_view value) { c.number = std::string(value); }},
    {{"", "--check", "", "compile and report, but write no file"},
     [](CompileCommand& c, std::string_view) { c.check = true; }},
    {{"", "--diagnostics-format", "text|json|sarif", "text (default), json (one object per line) or sarif (SARIF 2.1.0)"},
     [](CompileCommand& c, std::string_view value) {
       if (value == "text") c.diagnostics_format = DiagnosticsFormat::kText;
       else if (value == "json") c.diagnostics_format = DiagnosticsFormat::kJson;
       else if (value == "sarif") c.diagnostics_format = DiagnosticsFormat::kSarif;
       else throw UsageError("--diagnostics-format takes text, json or sarif, not '" + std::string(value) + "'");
     }},
    {{"", "--diagnostics-output", "FILE", "write the diagnostics to FILE instead of standard error"},
     [](CompileCommand& c, std::string_view value) { c.diagnostics_output = std::filesystem::path(value); }},
    {{"", "--write-on-fault", "", "write the compiled files even when faults are recorded"},
     [](CompileCommand& c, std::string_view) { c.write_on_fault = true; }},
    {{"", "--werror", "", "count warnings as faults: exit status 1, and no file written"},
     [](CompileCommand& c, std::string_view) { c.warnings_as_faults = true; }},
    {{"-w", "--no-warnings", "", "show no warnings"}, [](CompileCommand& c, std::string_view) { c.silence_warnings = true; }},
    {{"", "--input-encoding", "windows-1252|utf-8", "windows-1252 (default) or utf-8: how the sources are written"},
     [](CompileCommand& c, std::string_view value) {
       if (value == "windows-1252" || value == "cp1252") c.utf8_input = false;
       else if (value == "utf-8" || value == "utf8") c.utf8_input = true;
       else throw UsageError("--input-encoding takes windows-1252 or utf-8, not '" + std::string(value) + "'");
     }},
    kWaitOption<CompileCommand>,
    kNoWaitOption<CompileCommand>,
    kTimingOption<CompileCommand, 0>,
    kTimingOption<CompileCommand, 1>,
    kTimingOption<CompileCommand, 2>,
    kTimingOption<CompileCommand, 3>,
    kTimingOption<CompileCommand, 4>,
};

constexpr CommandSpec<CompileCommand> kCompile{
    .name = "compile",
    .operands = "LINE SERVICE",
    .operand_kind = OperandKind::kSourceFiles,
    .summary = "compile your own line and service sources",
    .description = R"(Compiles a line source (NAME_linea.txt) and a service source (NAME_N-.txt)
into the three compiled files NAME_linea.dat, NAME_N.sim and NAME_N.dat.
NAME and N come from the two file names unless given. The sources are only
read, never changed or deleted.

Every fault is reported on standard error as FILE:LINE:COLUMN: error: ...
with the source line, or as scenario-builder: error: ... when no source row
caused it, with notes on what holds a taken cell and where reading stopped;
warnings (FILE:LINE:COLUMN: warning: ...) point at what is legal but rarely
meant and never change the compiled files; one of them tells a timetable
time the train cannot keep at the fastest run the limits allow (the timing
options say what the check assumes of the train). The last line sums up the
warnings and faults recorded. With
--diagnostics-format=json each diagnostic is instead one JSON object on a line
of its own (severity, fault, message, file, line, column, position, notes);
with --diagnostics-format=sarif they form one SARIF 2.1.0 document.
--diagnostics-output FILE writes them to FILE instead of standard error.
)",
    .options = kCompileOptions,
    .take_operand = [](CompileCommand& c, std::string_view operand, std::size_t index) -> std::string {
      if (index == 0) c.line_source = operand;
      if (index == 1) c.service_source = operand;
      return "";  // too many are counted by the check
    },
    .check = [](const CompileCommand&, std::size_t count) -> std::string {
      if (count == 2) return "";
      return "compile needs two source files, LINE and SERVICE; " + std::to_string(count) + " given";
    },
    .epilogue = kExitStatusText,
};

// inspect

constexpr Option<InspectCommand> kInspectOptions[] = {
    {{"", "--all", "", "every cell, or every point of the plan"},
     [](InspectCommand& c, std::string_view) { c.all = true; }},
    {{"", "--json", "", "one JSON document of the same content", "format"},
     [](InspectCommand& c, std::string_view) { c.format = InspectCommand::Format::kJson; }},
    {{"", "--annotate", "", "every field as it lies in the file: offset, bytes, name, value", "format"},
     [](InspectCommand& c, std::string_view) { c.format = InspectCommand::Format::kAnnotate; }},
};

constexpr CommandSpec<InspectCommand> kInspect{
    .name = "inspect",
    .operands = "FILE",
    .operand_kind = OperandKind::kCompiledFile,
    .summary = "show what a compiled file holds",
    .description = R"(Decodes a compiled file, told by its name: *_linea.dat (line plan),
*.sim (scenario records) or any other *.dat (track cells).

By default prints a table: the cells that hold anything, the filled record
slots with their roles, or a summary of the line plan.
)",
    .options = kInspectOptions,
    .take_operand = [](InspectCommand& c, std::string_view operand, std::size_t index) -> std::string {
      c.file = operand;
      return no_more_operands("inspect takes one file", index);
    },
    .check = [](const InspectCommand&, std::size_t count) -> std::string {
      return count == 0 ? "inspect needs a compiled file" : "";
    },
    .epilogue = R"(A truncated or malformed file is reported with the byte offset where decoding
failed (exit status 2).
)",
};

// plot

constexpr Option<PlotCommand> kPlotOptions[] = {
    {{"", "--name", "NAME", "scenario base name (default: the one scenario in DIR)"},
     [](PlotCommand& c, std::string_view value) { c.name = std::string(value); }},
    {{"", "--number", "N", "train/scenario number (default: the one scenario in DIR)"},
     [](PlotCommand& c, std::string_view value) { c.number = std::string(value); }},
    {{"-o", "--output", "FILE.svg", "the picture (default: DIR/NAME_N.svg; - for standard output)"},
     [](PlotCommand& c, std::string_view value) { c.output = value; }},
    {{"", "--axis", "km|m", "the profile's axis: kilometre readings of the driver's papers, or route metres"},
     [](PlotCommand& c, std::string_view value) {
       if (value != "km" && value != "m") throw UsageError("--axis takes km or m, not '" + std::string(value) + "'");
       c.kilometre_axis = value == "km";
     }},
    {{"", "--from", "M", "draw the route from metre M on"},
     [](PlotCommand& c, std::string_view value) { c.from_m = metres_option("--from", value); }},
    {{"", "--to", "M", "draw the route up to metre M"},
     [](PlotCommand& c, std::string_view value) { c.to_m = metres_option("--to", value); }},
    kWaitOption<PlotCommand>,
    kNoWaitOption<PlotCommand>,
};

constexpr CommandSpec<PlotCommand> kPlot{
    .name = "plot",
    .operands = "[DIR]",
    .operand_kind = OperandKind::kFolder,
    .summary = "draw a compiled scenario's route as an SVG picture",
    .description = R"(Draws the route of a scenario compiled into DIR (default: the current folder)
from its three compiled files: the plan of the track with its stations and
signals, and the profile along the route with the line speed, the gradient,
the slowdowns, the stations, the signals and the code reduction points.
The picture is one self-contained SVG file.
)",
    .options = kPlotOptions,
    .take_operand = [](PlotCommand& c, std::string_view operand, std::size_t index) -> std::string {
      c.folder = operand;
      return no_more_operands("plot takes one folder", index);
    },
    .check = [](const PlotCommand& c, std::size_t) -> std::string {
      return c.from_m && c.to_m && *c.to_m <= *c.from_m ? "--to must lie beyond --from" : "";
    },
};

// summary

constexpr Option<SummaryCommand> kSummaryOptions[] = {
    {{"", "--name", "NAME", "scenario base name (default: the one scenario in DIR)"},
     [](SummaryCommand& c, std::string_view value) { c.name = std::string(value); }},
    {{"", "--number", "N", "train/scenario number (default: the one scenario in DIR)"},
     [](SummaryCommand& c, std::string_view value) { c.number = std::string(value); }},
    {{"", "--json", "", "one JSON document of the same content"},
     [](SummaryCommand& c, std::string_view) { c.json = true; }},
};

constexpr CommandSpec<SummaryCommand> kSummary{
    .name = "summary",
    .operands = "[DIR]",
    .operand_kind = OperandKind::kFolder,
    .summary = "tell what a compiled scenario holds, in an author's terms",
    .description = R"(Reads the scenario compiled into DIR (default: the current folder) and tells
what it holds: name and train, route length, plan, the kilometre-post changes
and how the readings run; the stations in running order with their kilometre
readings, types, stops and times; signals, boards, slowdowns, code reduction
points and mountain stretches with their positions; line speed and adhesion
along the route; the competition codes; and what the files show of faults.

A station's numbers that are only stored for the simulator are named by their
place in the source row: field 4 to field 13.
)",
    .options = kSummaryOptions,
    .take_operand = [](SummaryCommand& c, std::string_view operand, std::size_t index) -> std::string {
      c.folder = operand;
      return no_more_operands("summary takes one folder", index);
    },
    .check = [](const SummaryCommand&, std::size_t) -> std::string { return ""; },
};

// diff

constexpr Option<DiffCommand> kDiffOptions[] = {
    {{"", "--name", "NAME", "scenario base name in both folders (default: the one scenario in each)"},
     [](DiffCommand& c, std::string_view value) { c.name = std::string(value); }},
    {{"", "--number", "N", "train/scenario number in both folders"},
     [](DiffCommand& c, std::string_view value) { c.number = std::string(value); }},
    {{"", "--json", "", "one JSON document of the same content"},
     [](DiffCommand& c, std::string_view) { c.json = true; }},
};

constexpr CommandSpec<DiffCommand> kDiff{
    .name = "diff",
    .operands = "A B",
    .operand_kind = OperandKind::kFoldersOrCompiledFiles,
    .summary = "tell what changed between two compiled scenarios",
    .description = R"(Compares the scenarios compiled into folders A and B, or two compiled files of
one kind (two *.sim, two *_linea.dat or two other *.dat), and tells what
changed in words, grouped: stations (matched by name), signals (by position:
added, removed, moved, values changed) and slowdowns (by start: speed, length,
boards) as features; then the other records, the track cells, approach codes
and fills (line speed, gradient, adhesion, mountain) that no changed feature
explains, and the plan. A byte that nothing names is still told, by its record
or cell, bytes and field.
)",
    .options = kDiffOptions,
    .take_operand = [](DiffCommand& c, std::string_view operand, std::size_t index) -> std::string {
      (index == 0 ? c.first : c.second) = operand;
      return "";
    },
    .check = [](const DiffCommand&, std::size_t count) -> std::string {
      return count == 2 ? "" : "diff needs two folders or two files, A and B; " + std::to_string(count) + " given";
    },
    .epilogue = R"(exit status: 0 the two are equal, 1 they differ, 2 trouble (bad usage, a file
missing or damaged).
)",
};

// decompile

constexpr Option<DecompileCommand> kDecompileOptions[] = {
    {{"", "--name", "NAME", "scenario base name (default: the one scenario in DIR)"},
     [](DecompileCommand& c, std::string_view value) { c.name = std::string(value); }},
    {{"", "--number", "N", "train/scenario number (default: the one scenario in DIR)"},
     [](DecompileCommand& c, std::string_view value) { c.number = std::string(value); }},
    {{"-o", "--output", "OUTDIR", "folder for the two sources (default: the current folder; made if missing)"},
     [](DecompileCommand& c, std::string_view value) { c.output = value; }},
    {{"", "--force", "", "replace sources of those names already in OUTDIR"},
     [](DecompileCommand& c, std::string_view) { c.force = true; }},
    {{"", "--no-verify", "", "write the sources without compiling them back"},
     [](DecompileCommand& c, std::string_view) { c.verify = false; }},
    kWaitOption<DecompileCommand>,
    kNoWaitOption<DecompileCommand>,
};

constexpr CommandSpec<DecompileCommand> kDecompile{
    .name = "decompile",
    .operands = "[DIR]",
    .operand_kind = OperandKind::kFolder,
    .summary = "editable sources back from a compiled scenario",
    .description = R"(Reads the three compiled files of a scenario in DIR (default: the current
folder) and writes its two sources, NAME_linea.txt and NAME_N-.txt, into
OUTDIR, laid out as the built-in sources are. Then compiles them in memory and
compares the three results with the compiled files byte for byte: it says
"round trip exact", or names every difference (cell or record, field, what the
file holds, what the sources give). A scenario compiled without its plan file
gets a line source without curves.
)",
    .options = kDecompileOptions,
    .take_operand = [](DecompileCommand& c, std::string_view operand, std::size_t index) -> std::string {
      c.folder = operand;
      return no_more_operands("decompile takes one folder", index);
    },
    .check = [](const DecompileCommand&, std::size_t) -> std::string { return ""; },
    .epilogue = R"(exit status: 0 round trip exact, 1 something not written back or not
reproduced (the sources are still written), 2 nothing written (bad usage,
a damaged or missing compiled file, sources already in OUTDIR).
)",
};

// documents

constexpr Option<DocumentsCommand> kDocumentsOptions[] = {
    {{"", "--name", "NAME", "scenario base name (default: the one scenario in DIR)"},
     [](DocumentsCommand& c, std::string_view value) { c.name = std::string(value); }},
    {{"", "--number", "N", "train/scenario number (default: the one scenario in DIR)"},
     [](DocumentsCommand& c, std::string_view value) { c.number = std::string(value); }},
    {{"-o", "--output", "OUTDIR", "folder for the two documents (default: the current folder; made if missing)"},
     [](DocumentsCommand& c, std::string_view value) { c.output = value; }},
    {{"", "--force", "", "replace documents of those names already in OUTDIR"},
     [](DocumentsCommand& c, std::string_view) { c.force = true; }},
    {{"", "--class", "TEXT", "the train's class on the card (\"INTERREGIONALE\")"},
     [](DocumentsCommand& c, std::string_view value) { c.train_class = value; }},
    {{"", "--rank", "TEXT", "the train's rank beside its highest speed (\"B\")"},
     [](DocumentsCommand& c, std::string_view value) { c.rank = value; }},
    {{"", "--mass", "TONNES", "the braked mass in tonnes (\"600\", shown as 600T)"},
     [](DocumentsCommand& c, std::string_view value) { c.mass_t = value; }},
    kWaitOption<DocumentsCommand>,
    kNoWaitOption<DocumentsCommand>,
};

constexpr CommandSpec<DocumentsCommand> kDocuments{
    .name = "documents",
    .operands = "[DIR]",
    .operand_kind = OperandKind::kFolder,
    .summary = "the train card and the slowdown order of a compiled scenario",
    .description = R"(Reads the scenario compiled into DIR (default: the current folder) and draws
the driver's two documents from its own data, in the forms of the built-in
ones: NAME_N_scheda_treno.txt (the train card) and NAME_N_rallentamenti.txt
(the slowdown order), Windows-1252 with CR LF, into OUTDIR.

From the scenario: the train number; the first and last station ("da:",
"a:", and the order's "Linea"); the highest line speed; the braked-mass
percentage; one timetable row per station in running order and per change of
line speed ("Cippo chilometro K"), each with its kilometre reading as the
driver's papers show it, the new line speed and the station's timetable time
(departure on the first row, arrival on the last); one order row per slowdown
with the stations around its start, the kilometre post passed just before it,
its speed and its length, twenty to a form.
From the options: the class (--class), the rank (--rank) and the braked mass
in tonnes (--mass). Not held anywhere, so always blank: running speeds
("Vel. Marc."), "No Rs", passing times, recovery times ("Rec") and the
specific prescriptions of a slowdown.
)",
    .options = kDocumentsOptions,
    .take_operand = [](DocumentsCommand& c, std::string_view operand, std::size_t index) -> std::string {
      c.folder = operand;
      return no_more_operands("documents takes one folder", index);
    },
    .check = [](const DocumentsCommand&, std::size_t) -> std::string { return ""; },
    .epilogue = R"(exit status: 0 both documents written, 2 nothing written (bad usage, a damaged
or missing compiled file, documents already in OUTDIR).
)",
};

// explain

constexpr Option<ExplainCommand> kExplainOptions[] = {
    {{"", "--markdown", "", "every fault and warning in Markdown, as the source-format reference lists them"},
     [](ExplainCommand& c, std::string_view) { c.markdown = true; }},
};

constexpr CommandSpec<ExplainCommand> kExplain{
    .name = "explain",
    .operands = "[N | WN]",
    .operand_kind = OperandKind::kFaultNumber,
    .summary = "what fault N or warning WN means, its usual causes and their fixes",
    .description = R"(Explains fault N (or warning WN, such as W3): what it means, the rule behind
it, its usual causes each with its fix, and an example. Without N, lists every fault and
every warning.
)",
    .options = kExplainOptions,
    .take_operand = [](ExplainCommand& c, std::string_view operand, std::size_t index) -> std::string {
      c.fault = std::string(operand);
      return no_more_operands("explain takes one fault number", index);
    },
    .check = [](const ExplainCommand& c, std::size_t) -> std::string {
      return c.markdown && c.fault ? "--markdown lists every fault; it takes no fault number" : "";
    },
    .epilogue = "exit status: 0, or 2 for a number that is no fault or warning.\n",
};

// timing

constexpr Option<TimingCommand> kTimingOptions[] = {
    {{"", "--name", "NAME", "scenario base name (default: from LINE, or the one scenario in DIR)"},
     [](TimingCommand& c, std::string_view value) { c.name = std::string(value); }},
    {{"", "--number", "N", "train/scenario number (default: from SERVICE, or the one scenario in DIR)"},
     [](TimingCommand& c, std::string_view value) { c.number = std::string(value); }},
    {{"", "--json", "", "one JSON document of the same content"},
     [](TimingCommand& c, std::string_view) { c.json = true; }},
    kTimingOption<TimingCommand, 0>,
    kTimingOption<TimingCommand, 1>,
    kTimingOption<TimingCommand, 2>,
    kTimingOption<TimingCommand, 3>,
    kTimingOption<TimingCommand, 4>,
};

constexpr CommandSpec<TimingCommand> kTiming{
    .name = "timing",
    .operands = "[LINE SERVICE | DIR]",
    .operand_kind = OperandKind::kSourceFiles,
    .summary = "the fastest run of the train and the earliest time at every station",
    .description = R"(Computes the fastest run the limits allow of the scenario's train: the line
speeds, the slowdowns and the train's highest speed, a rise counting once the
whole train has passed it; braking before every lower limit and every stop;
acceleration under them with the gradients. Every station with a timetable
time is a stop (its time the departure, the last one's the arrival); the
others are passed. Prints one row per station: its kilometre reading, the
timetable time, the earliest time the run can keep, the same with the
regularity margin, and the slack between them. A negative slack is a time the
train cannot keep; compile warns of it at the station's row.

Reads two sources LINE SERVICE (compiled in memory, nothing written) or the
scenario compiled into DIR (default: the current folder). The options give
what the compiled files do not hold of the train; docs/running-times.md tells
every default and where it comes from.
)",
    .options = kTimingOptions,
    .take_operand = [](TimingCommand& c, std::string_view operand, std::size_t) -> std::string {
      c.operands.emplace_back(operand);
      return "";
    },
    .check = [](const TimingCommand&, std::size_t count) -> std::string {
      return count <= 2 ? "" : "timing takes two sources or one folder; " + std::to_string(count) + " given";
    },
    .epilogue = R"(exit status: 0 every time can be kept, 1 a time cannot be kept (or the
sources hold faults), 2 nothing checked (bad usage, unreadable input).
)",
};

// lsp

constexpr CommandSpec<LspCommand> kLsp{
    .name = "lsp",
    .operands = "",
    .operand_kind = OperandKind::kNone,
    .summary = "the language server for editors, on standard input and output",
    .description = R"(Serves the Language Server Protocol on standard input and output, for editors:
as a source is typed, the pair it belongs to (the partner found by the file-name rule
in the same folder, from the editor when it is open there, else from disk) is
compiled in memory and every fault and warning of both is shown at its place; hover
tells a field's name, unit, range and meaning, and for a position its 50 m cell and
kilometre reading; completion offers the rows and headers that may stand at the
cursor; symbols list the sections, stations, signals, slowdowns and boards; code
actions apply a diagnostic's fix or explain it. The server never writes a file.
docs/editors.md tells how to set up Neovim, VS Code, Helix and Emacs.
)",
    .options = {},
    .take_operand = [](LspCommand&, std::string_view, std::size_t) -> std::string {
      return "lsp takes no operands";
    },
    .check = [](const LspCommand&, std::size_t) -> std::string { return ""; },
    .epilogue = "exit status: 0 after the client's shutdown and exit, 1 when it exits without a shutdown or goes.\n",
};

// help

bool is_command(std::string_view name);

constexpr CommandSpec<HelpCommand> kHelp{
    .name = "help",
    .operands = "[COMMAND]",
    .operand_kind = OperandKind::kCommandName,
    .summary = "show this help, or a command's help",
    .description = "Shows the program's help, or the help of COMMAND.\n",
    .options = {},
    .take_operand = [](HelpCommand& c, std::string_view operand, std::size_t index) -> std::string {
      c.topic = operand;
      return no_more_operands("help takes one command name", index);
    },
    .check = [](const HelpCommand& c, std::size_t) -> std::string {
      return c.topic.empty() || is_command(c.topic) ? "" : "no command named '" + c.topic + "'";
    },
};

// The commands, in the order the program's help lists them.
struct CommandEntry {
  std::string_view name;
  std::string_view operands;
  std::string_view summary;
  Command (*parse)(std::span<const std::string_view> arguments);
  std::string (*help)();
  CommandReference (*reference)();
};

template <typename C>
CommandReference reference_of(const CommandSpec<C>& table) {
  CommandReference reference{table.name,        table.operands, table.operand_kind, table.summary,
                             table.description, {},             table.epilogue};
  for (const Option<C>& option : table.options)
    reference.options.push_back(
        {option.text.short_name, option.text.long_name, option.text.value_name, option.text.help});
  return reference;
}

template <const auto& table>
constexpr CommandEntry entry_of() {
  return {table.name, table.operands, table.summary,
          [](std::span<const std::string_view> arguments) { return parse_by_table(table, arguments); },
          [] { return help_of(table); }, [] { return reference_of(table); }};
}

constexpr CommandEntry kCommands[] = {
    entry_of<kSources>(), entry_of<kCompile>(), entry_of<kInspect>(),   entry_of<kSummary>(),
    entry_of<kDiff>(),    entry_of<kPlot>(),    entry_of<kDecompile>(), entry_of<kDocuments>(),
    entry_of<kExplain>(),  entry_of<kTiming>(),  entry_of<kLsp>(),
    entry_of<kHelp>(),
};

const CommandEntry* find_command(std::string_view name) {
  for (const CommandEntry& command : kCommands)
    if (command.name == name) return &command;
  return nullptr;
}

bool is_command(std::string_view name) { return find_command(name) != nullptr; }

std::string program_help() {
  constexpr std::size_t kColumn = 27;
  const auto line = [](const std::string& label, std::string_view text) {
    return "  " + label + std::string(kColumn - std::min(kColumn - 1, label.size()), ' ') + std::string(text) + "\n";
  };
  std::string text = "usage: scenario-builder [COMMAND] [OPTIONS]\n\n" + std::string(kProgramDescription);
  text += "\ncommands:\n";
  for (const CommandEntry& command : kCommands) {
    const std::string label =
        std::string(command.name) + (command.operands.empty() ? "" : " " + std::string(command.operands));
    text += line(label, command.summary);
  }
  text += "\noptions:\n";
  text += line("-h, --help", "show this help and exit");
  text += line("--version", "show the version and exit");
  text += "\nRun 'scenario-builder COMMAND --help' for a command's options, and\n"
          "'scenario-builder explain N' for what fault N means and how to fix it.\n"
          "The source format, every row and field, how positions become cells and\n"
          "every fault: docs/source-format.md in the sources, installed as\n  " SCENARIO_DOC_DIR "/source-format.md\n\n";
  return text + std::string(kExitStatusText);
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
  if (const CommandEntry* command = find_command(first)) return command->parse(arguments.subspan(1));
  if (first.starts_with("-")) throw UsageError("unknown option '" + std::string(first) + "'");
  throw UsageError("unknown command '" + std::string(first) + "'");
}

std::string help_text(std::string_view topic) {
  const CommandEntry* command = find_command(topic);
  return command != nullptr ? command->help() : program_help();
}

std::vector<CommandReference> command_references() {
  std::vector<CommandReference> references;
  for (const CommandEntry& command : kCommands) references.push_back(command.reference());
  return references;
}

ValueKind value_kind(std::string_view value_name) {
  if (value_name.ends_with("DIR")) return ValueKind::kFolder;
  if (value_name.starts_with("FILE")) return ValueKind::kFile;
  if (value_name.find('|') != std::string_view::npos) return ValueKind::kChoice;
  return ValueKind::kText;
}

std::string_view program_description() { return kProgramDescription; }

std::string_view compile_exit_status_text() { return kExitStatusText; }

std::string version_text() { return std::string("scenario-builder ") + SCENARIO_BUILDER_VERSION + "\n"; }

}  // namespace scenario
