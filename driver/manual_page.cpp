#include "driver/manual_page.hpp"

#include <sstream>
#include <string_view>
#include <vector>

#include "driver/command_line.hpp"
#include "format/scenario_files.hpp"

namespace scenario {
namespace {

// Text as roff shows it: backslashes and hyphens escaped, a line that would read as a
// request guarded.
std::string roff(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\') escaped += "\\e";
    else if (c == '-') escaped += "\\-";
    else escaped += c;
  }
  return escaped;
}

std::string roff_line(std::string_view line) {
  const std::string escaped = roff(line);
  return !escaped.empty() && (escaped.front() == '.' || escaped.front() == '\'') ? "\\&" + escaped : escaped;
}

// Paragraphs of help text (lines broken at 80 columns, blank lines between paragraphs) as
// roff paragraphs, which roff fills again at the reader's width.
void paragraphs(std::ostringstream& page, std::string_view text) {
  bool open = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty()) {
      open = false;
      continue;
    }
    if (!open) page << ".PP\n";
    open = true;
    page << roff_line(line) << "\n";
  }
}

void option_item(std::ostringstream& page, const OptionReference& option) {
  page << ".TP\n";
  if (!option.short_name.empty()) page << "\\fB" << roff(option.short_name) << "\\fR, ";
  page << "\\fB" << roff(option.long_name) << "\\fR";
  if (!option.value_name.empty()) page << " \\fI" << roff(option.value_name) << "\\fR";
  page << "\n" << roff_line(option.help) << "\n";
}

void command_section(std::ostringstream& page, const CommandReference& command) {
  page << ".SS \"" << roff(command.name) << (command.operands.empty() ? "" : " ") << roff(command.operands)
       << "\"\n";
  page << roff_line(command.summary) << ".\n";
  paragraphs(page, command.description);
  for (const OptionReference& option : command.options) option_item(page, option);
  if (!command.options.empty()) page << ".TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\nshow the command's help\n";
  if (!command.epilogue.empty()) paragraphs(page, command.epilogue);
}

void files_section(std::ostringstream& page) {
  const ScenarioFileNames names = scenario_file_names("NAME", "N");
  const std::pair<const std::string&, std::string_view> files[] = {
      {names.line_source, "the line source: the route, its kilometre posts, gradients, curves and line speed"},
      {names.service_source, "the service source: the train, its stations, slowdowns, signals and boards"},
      {names.line_plan, "the compiled line plan, one point a metre"},
      {names.records, "the compiled scenario records"},
      {names.track_cells, "the compiled 50 m track cells"},
      {names.train_card, "the train card, one of the driver's documents"},
      {names.slowdown_order, "the slowdown order, one of the driver's documents"},
      {names.notes, "the built-in scenario's notes"},
  };
  page << ".SH FILES\n";
  for (const auto& [name, meaning] : files) page << ".TP\n\\fI" << roff(name) << "\\fR\n" << roff(meaning) << "\n";
  page << ".PP\nThe texts are Windows\\-1252 with CR LF. A command writes its files as one set: each is\n"
          "written whole beside its name and renamed over it only when all are complete.\n";
}

constexpr std::string_view kExamples[][2] = {
    {"scenario-builder sources -o myroute", "the built-in scenario's texts, to start from"},
    {"scenario-builder compile myroute/Milano_Tortona_linea.txt myroute/Milano_Tortona_5-.txt --check",
     "compile and report, writing nothing"},
    {"scenario-builder compile myroute/Milano_Tortona_linea.txt myroute/Milano_Tortona_5-.txt -o out",
     "write the three compiled files into out"},
    {"scenario-builder summary out", "what the compiled scenario holds"},
    {"scenario-builder plot out -o route.svg", "its route as a picture"},
    {"scenario-builder decompile out -o back", "its two sources back, proved by a round trip"},
};

}  // namespace

std::string manual_page() {
  std::ostringstream page;
  page << ".TH SCENARIO\\-BUILDER 1 \"\" \"" << roff(version_text().substr(0, version_text().size() - 1))
       << "\" \"User Commands\"\n";
  page << ".SH NAME\nscenario\\-builder \\- a scenario compiler for a train\\-driving simulator\n";
  page << ".SH SYNOPSIS\n.B scenario\\-builder\n.br\n.B scenario\\-builder\n.I COMMAND\n[\\fIOPTIONS\\fR]\n"
          ".br\n.B scenario\\-builder\n[\\fB\\-h\\fR | \\fB\\-\\-help\\fR | \\fB\\-\\-version\\fR]\n";
  page << ".SH DESCRIPTION\n";
  paragraphs(page, program_description());
  page << ".SH COMMANDS\n";
  for (const CommandReference& command : command_references()) command_section(page, command);
  page << ".SH OPTIONS\n.TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\nshow the program's help and exit\n"
          ".TP\n\\fB\\-\\-version\\fR\nshow the version and exit\n";
  page << ".SH EXIT STATUS\n";
  paragraphs(page, compile_exit_status_text());
  page << ".PP\nEvery command ends with 0, 1 or 2; its section above says what each means for it.\n";
  files_section(page);
  page << ".SH EXAMPLES\n";
  for (const auto& [command, meaning] : kExamples) page << ".TP\n.B " << roff(command) << "\n" << roff(meaning) << "\n";
  page << ".SH SEE ALSO\nThe source\\-format reference, \\fIsource\\-format.md\\fR, in the program's documentation\n"
          "folder (share/doc/scenario_builder under the installation prefix): both sources row by row,\n"
          "every field with its unit and range, and every fault with its causes and fixes.\n";
  return page.str();
}

}  // namespace scenario
