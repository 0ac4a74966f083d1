// The manual page, the completion scripts and the editors' grammar are the ones the command tables
// make, the bash completion offers what the tables hold, and the changelog's newest entry is
// this version.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "driver/command_line.hpp"
#include "driver/manual_page.hpp"
#include "driver/shell_completions.hpp"
#include "driver/source_grammar.hpp"
#include "format/file_io.hpp"
#include "tests/program_runner.hpp"

namespace scenario {
namespace {

const std::filesystem::path kDocs(SCENARIO_DOCS);

TEST(ReferencePages, CommittedCopiesAreTheTablesOwn) {
  const std::pair<std::filesystem::path, std::string> pages[] = {
      {kDocs / "man" / "scenario-builder.1", manual_page()},
      {kDocs / "completions" / "scenario-builder.bash", bash_completion()},
      {kDocs / "completions" / "_scenario-builder", zsh_completion()},
      {kDocs / "completions" / "scenario-builder.fish", fish_completion()},
      {std::filesystem::path(SCENARIO_ROOT) / "editors" / "vscode" / "syntaxes" / "scenario-sources.tmLanguage.json",
       source_grammar_json()},
  };
  for (const auto& [file, made] : pages)
    EXPECT_EQ(read_file(file), made) << file << " is out of date: run 'make reference-pages'";
}

TEST(ReferencePages, ManualPageNamesEveryCommandAndOption) {
  const std::string page = manual_page();
  for (const CommandReference& command : command_references()) {
    EXPECT_NE(page.find(".SS \"" + std::string(command.name)), std::string::npos) << command.name;
    for (const OptionReference& option : command.options) {
      std::string roff_name;
      for (const char c : option.long_name) roff_name += c == '-' ? std::string("\\-") : std::string(1, c);
      EXPECT_NE(page.find("\\fB" + roff_name + "\\fR"), std::string::npos) << command.name << " " << option.long_name;
    }
  }
}

// What bash offers for the words of a command line, the last one being completed, in `folder`.
std::string bash_offers(const std::string& words, const std::filesystem::path& folder) {
  const testing::TempFolder scratch;
  testing::write_bytes(scratch.path() / "completion.bash", bash_completion());
  // A line ending in a blank completes a new, empty word.
  const std::string array = words + (words.ends_with(' ') ? "''" : "");
  const std::string script = "source completion.bash; cd " + testing::shell_quoted(folder.string()) +
                             "; COMP_WORDS=(" + array + "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1));"
                             " _scenario_builder; printf '%s\\n' \"${COMPREPLY[@]}\" | sort | tr '\\n' ' '";
  testing::write_bytes(scratch.path() / "offer.bash", script);
  const testing::ProgramRun run =
      testing::run_program("cd " + testing::shell_quoted(scratch.path().string()) + " && bash offer.bash", scratch.path());
  EXPECT_EQ(run.err, "") << words;
  return run.out;
}

TEST(ReferencePages, BashCompletesCommandsOptionsChoicesAndFilesOfTheirKind) {
  if (std::system("command -v bash >/dev/null 2>&1") != 0) GTEST_SKIP() << "bash not installed";
  const testing::TempFolder folder;
  for (const char* name : {"route.svg", "Prova_linea.txt", "Prova_1.sim", "Prova_1.dat", "notes.md"})
    testing::write_bytes(folder.path() / name, "");
  std::filesystem::create_directory(folder.path() / "out");
  const struct {
    std::string words;
    std::string offered;
  } cases[] = {
      {"scenario-builder co", "compile "},
      {"scenario-builder compile --diagnostics-f", "--diagnostics-format "},
      {"scenario-builder compile --diag", "--diagnostics-format --diagnostics-output "},
      {"scenario-builder compile --diagnostics-format ", "json sarif text "},
      {"scenario-builder compile ", "Prova_linea.txt out "},
      {"scenario-builder compile -o ", "out "},
      {"scenario-builder plot -o ", "out route.svg "},
      {"scenario-builder inspect ", "Prova_1.dat Prova_1.sim out "},
      {"scenario-builder summary ", "out "},
      {"scenario-builder help doc", "documents "},
      {"scenario-builder explain 10", "10 101 102 103 "},
  };
  for (const auto& [words, offered] : cases) EXPECT_EQ(bash_offers(words, folder.path()), offered) << words;
}

TEST(Changelog, NewestEntryIsThisVersion) {
  const std::string changelog = read_file(std::filesystem::path(SCENARIO_ROOT) / "CHANGELOG.md");
  // Changes not yet released gather under "## Unreleased" above the newest version.
  std::size_t entry = changelog.find("\n## ");
  if (entry != std::string::npos && changelog.compare(entry, 15, "\n## Unreleased\n") == 0)
    entry = changelog.find("\n## ", entry + 1);
  ASSERT_NE(entry, std::string::npos);
  const std::string version = version_text().substr(std::string("scenario-builder ").size());
  EXPECT_EQ(changelog.substr(entry + 4, version.size() - 1), version.substr(0, version.size() - 1));
}

}  // namespace
}  // namespace scenario
