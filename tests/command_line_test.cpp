#include "driver/command_line.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "driver/scenario_identity.hpp"
#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

Command parse(std::vector<std::string_view> arguments) { return parse_command_line(arguments); }

TEST(CommandLine, NoArgumentsIsTheBuiltInBuild) { EXPECT_TRUE(std::holds_alternative<BuildCommand>(parse({}))); }

TEST(CommandLine, HelpInEveryForm) {
  const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
      {{"--help"}, ""},          {{"-h"}, ""},
      {{"help"}, ""},            {{"help", "compile"}, "compile"},
      {{"compile", "--help"}, "compile"}, {{"compile", "a", "-h"}, "compile"},
      {{"sources", "--help"}, "sources"}, {{"inspect", "x.dat", "--help"}, "inspect"},
      {{"help", "help"}, "help"},         {{"plot", "--help=x"}, "plot"},
  };
  for (const auto& [arguments, topic] : cases) {
    const Command command = parse(arguments);
    ASSERT_TRUE(std::holds_alternative<HelpCommand>(command)) << arguments.front();
    EXPECT_EQ(std::get<HelpCommand>(command).topic, topic);
  }
  EXPECT_TRUE(std::holds_alternative<VersionCommand>(parse({"--version"})));
  EXPECT_TRUE(testing::contains(help_text("compile"), "usage: scenario-builder compile LINE SERVICE"));
  EXPECT_TRUE(testing::contains(help_text(""), "usage: scenario-builder [COMMAND]"));
}

TEST(CommandLine, CompileOptionsInBothSpellings) {
  const Command command = parse({"compile", "--name=Genova", "l.txt", "-o", "out", "s.txt", "--number", "12", "--check"});
  const auto& compile = std::get<CompileCommand>(command);
  EXPECT_EQ(compile.line_source, "l.txt");
  EXPECT_EQ(compile.service_source, "s.txt");
  EXPECT_EQ(compile.folder, "out");
  EXPECT_EQ(compile.name, "Genova");
  EXPECT_EQ(compile.number, "12");
  EXPECT_TRUE(compile.check);
  EXPECT_EQ(compile.diagnostics_format, DiagnosticsFormat::kText);
  EXPECT_EQ(std::get<CompileCommand>(parse({"compile", "a", "b", "--diagnostics-format=sarif"})).diagnostics_format,
            DiagnosticsFormat::kSarif);
  EXPECT_EQ(std::get<CompileCommand>(parse({"compile", "a", "b", "--diagnostics-format", "json"})).diagnostics_format,
            DiagnosticsFormat::kJson);

  // After "--" a name that begins with a dash is a file.
  const auto dashed = std::get<CompileCommand>(parse({"compile", "--", "-a_linea.txt", "-a_1-.txt"}));
  EXPECT_EQ(dashed.line_source, "-a_linea.txt");
  EXPECT_EQ(std::get<CompileCommand>(parse({"compile", "a", "b"})).folder, ".");
}

TEST(CommandLine, SourcesAndInspectOptions) {
  const auto sources = std::get<SourcesCommand>(parse({"sources", "--output=texts", "--force"}));
  EXPECT_EQ(sources.folder, "texts");
  EXPECT_TRUE(sources.force);
  EXPECT_EQ(std::get<SourcesCommand>(parse({"sources"})).folder, ".");

  const auto inspect = std::get<InspectCommand>(parse({"inspect", "--all", "a_5.dat", "--json"}));
  EXPECT_EQ(inspect.file, "a_5.dat");
  EXPECT_TRUE(inspect.all);
  EXPECT_EQ(inspect.format, InspectCommand::Format::kJson);
  EXPECT_EQ(std::get<InspectCommand>(parse({"inspect", "a.sim", "--annotate"})).format,
            InspectCommand::Format::kAnnotate);
  EXPECT_EQ(std::get<InspectCommand>(parse({"inspect", "a.sim"})).format, InspectCommand::Format::kTable);
  // A flag given twice is no conflict; only another flag of its group is.
  EXPECT_EQ(std::get<InspectCommand>(parse({"inspect", "--json", "a.sim", "--json"})).format,
            InspectCommand::Format::kJson);

  const auto plot = std::get<PlotCommand>(parse({"plot", "dir", "--name", "A", "--number=5", "-o", "p.svg"}));
  EXPECT_EQ(plot.folder, "dir");
  EXPECT_EQ(plot.name, "A");
  EXPECT_EQ(plot.number, "5");
  EXPECT_EQ(plot.output, "p.svg");

  const auto decompile = std::get<DecompileCommand>(
      parse({"decompile", "built", "--name=A", "--number", "5", "-o", "src", "--force", "--no-verify"}));
  EXPECT_EQ(decompile.folder, "built");
  EXPECT_EQ(decompile.name, "A");
  EXPECT_EQ(decompile.number, "5");
  EXPECT_EQ(decompile.output, "src");
  EXPECT_TRUE(decompile.force);
  EXPECT_FALSE(decompile.verify);
  const auto plain = std::get<DecompileCommand>(parse({"decompile"}));
  EXPECT_EQ(plain.folder, ".");
  EXPECT_EQ(plain.output, ".");
  EXPECT_TRUE(plain.verify);
}

TEST(CommandLine, UsageErrorsSayWhatIsWrongAndWhoseHelpExplains) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::string message;
    std::string topic;
  };
  const std::vector<Case> cases = {
      {{"build"}, "unknown command 'build'", ""},
      {{"--verbose"}, "unknown option '--verbose'", ""},
      {{"--version", "x"}, "--version takes nothing after it", ""},
      {{"compile", "a"}, "compile needs two source files, LINE and SERVICE; 1 given", "compile"},
      {{"compile", "a", "b", "c"}, "compile needs two source files, LINE and SERVICE; 3 given", "compile"},
      {{"compile", "a", "b", "-o"}, "option -o needs a value", "compile"},
      {{"compile", "a", "b", "--name", "x", "--name", "y"}, "option --name given twice", "compile"},
      {{"compile", "a", "b", "--check=yes"}, "option --check takes no value", "compile"},
      {{"compile", "a", "b", "--json"}, "unknown option '--json' for compile", "compile"},
      {{"compile", "a", "b", "--diagnostics-format=xml"}, "--diagnostics-format takes text, json or sarif, not 'xml'",
       "compile"},
      {{"sources", "dir"}, "sources takes no file names; use -o DIR for the folder", "sources"},
      {{"inspect"}, "inspect needs a compiled file", "inspect"},
      {{"inspect", "a.dat", "b.dat"}, "inspect takes one file", "inspect"},
      {{"inspect", "a.dat", "--json", "--annotate"}, "--json and --annotate cannot be used together", "inspect"},
      {{"inspect", "a.dat", "--annotate", "--json"}, "--json and --annotate cannot be used together", "inspect"},
      {{"plot", "a", "b"}, "plot takes one folder", "plot"},
      {{"plot", "-o", "a.svg", "--output=b.svg"}, "option --output given twice", "plot"},
      {{"decompile", "a", "b"}, "decompile takes one folder", "decompile"},
      {{"decompile", "-o", ""}, "option -o needs a folder name, not an empty one", "decompile"},
      {{"plot", "--output="}, "option --output needs a file name, not an empty one", "plot"},
      {{"compile", "a", "b", "--diagnostics-output", ""}, "option --diagnostics-output needs a file name, not an empty one",
       "compile"},
      {{"help", "compile", "plot"}, "help takes one command name", "help"},
      {{"help", "frob"}, "no command named 'frob'", "help"},
  };
  for (const Case& c : cases) {
    try {
      parse(c.arguments);
      ADD_FAILURE() << c.message << ": accepted";
    } catch (const UsageError& e) {
      EXPECT_EQ(e.what(), c.message);
      EXPECT_EQ(e.topic(), c.topic) << c.message;
    }
  }
}

TEST(ScenarioIdentity, InferredFromTheFileNamesOrGiven) {
  struct Case {
    std::string line, service;
    std::optional<std::string> name, number;
    std::string expected_name, expected_number;
  };
  const std::vector<Case> cases = {
      {"Milano_Tortona_linea.txt", "Milano_Tortona_5-.txt", {}, {}, "Milano_Tortona", "5"},
      {"dir/sub/Genova_linea.txt", "other/Genova_12a-.txt", {}, {}, "Genova", "12a"},
      {"anything.txt", "Pisa_3-.txt", "Pisa", {}, "Pisa", "3"},
      {"Pisa_linea.txt", "whatever.txt", {}, "9", "Pisa", "9"},
      {"Pisa_linea.txt", "Pisa_3-.txt", "Lucca", "4", "Lucca", "4"},
      {"A_B_linea.txt", "A_B_C_7-.txt", {}, {}, "A_B", "C_7"},  // the name fixes where the number starts
  };
  for (const Case& c : cases) {
    const ScenarioIdentity identity = infer_scenario_identity(c.line, c.service, c.name, c.number);
    EXPECT_EQ(identity.name, c.expected_name) << c.line;
    EXPECT_EQ(identity.number, c.expected_number) << c.service;
  }
}

TEST(ScenarioIdentity, NamesThatDoNotFollowThePatternAreRefusedClearly) {
  struct Case {
    std::string line, service;
    std::optional<std::string> name, number;
    std::string message_part;
  };
  const std::vector<Case> cases = {
      {"route.txt", "route_5-.txt", {}, {}, "cannot tell the scenario name from 'route.txt'"},
      {"_linea.txt", "_5-.txt", {}, {}, "cannot tell the scenario name from '_linea.txt'"},
      {"Pisa_linea.txt", "Lucca_5-.txt", {}, {}, "cannot tell the scenario number from 'Lucca_5-.txt'"},
      {"Pisa_linea.txt", "Pisa_-.txt", {}, {}, "cannot tell the scenario number from 'Pisa_-.txt'"},
      {"Pisa_linea.txt", "Pisa_5.txt", {}, {}, "give the number with --number N"},
      {"Pisa_linea.txt", "Pisa_5-.txt", "a/b", {}, "the scenario name 'a/b' cannot be part of a file name"},
      {"Pisa_linea.txt", "Pisa_5-.txt", {}, "", "the scenario number is empty"},
      {"Pisa_linea.txt", "x", {}, "..", "the scenario number '..' cannot be part of a file name"},
  };
  for (const Case& c : cases) {
    try {
      infer_scenario_identity(c.line, c.service, c.name, c.number);
      ADD_FAILURE() << c.message_part << ": accepted";
    } catch (const UsageError& e) {
      EXPECT_TRUE(testing::contains(std::string(e.what()), c.message_part));
      EXPECT_EQ(e.topic(), "compile");
    }
  }
}

TEST(CommandLineProgram, HelpAndVersionGoToStandardOutput) {
  const testing::TempFolder folder;
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--help"}, {"-h"}, {"help"}, {"compile", "--help"}, {"help", "inspect"}, {"--version"}}) {
    const testing::ProgramRun run = testing::run_seam(arguments, folder.path());
    EXPECT_EQ(run.exit_status, 0) << arguments.front();
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_TRUE(run.out.starts_with(arguments.front() == "--version" ? "scenario-builder " : "usage: scenario-builder"))
        << run.out;
  }
  EXPECT_TRUE(testing::folder_contents(folder.path()).empty());  // nothing written
}

TEST(CommandLineProgram, UsageErrorExitsTwoWithAHint) {
  const testing::TempFolder folder;
  const testing::ProgramRun run = testing::run_seam({"compile", "only_one_linea.txt"}, folder.path());
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "scenario-builder: error: compile needs two source files, LINE and SERVICE; 1 given\n"
            "Try 'scenario-builder compile --help' for more information.\n");
}

}  // namespace
}  // namespace scenario
