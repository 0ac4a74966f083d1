// The authoring commands run as an author runs them: the program in a folder of sources.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/build_run.hpp"
#include "model/file_io.hpp"
#include "model/scenario_files.hpp"
#include "sources/scenario_writers.hpp"
#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

using testing::folder_contents;
using testing::run_builder;
using testing::TempFolder;

const ScenarioFileNames kNames = scenario_file_names(kBuiltinScenarioName, kBuiltinScenarioNumber);

// Writes the built-in scenario's texts into `folder` with the writers of the build run.
void write_builtin_texts(const std::filesystem::path& folder) {
  ScenarioModel model;
  model.scenario_name = kBuiltinScenarioName;
  model.scenario_number = kBuiltinScenarioNumber;
  write_scenario_texts(model, folder);
}

// Replaces the first `from` in a text file by `to`; the test fails when there is none.
void edit(const std::filesystem::path& file, const std::string& from, const std::string& to) {
  std::string text = read_file(file);
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
  replace_file(file, text);
}

// A file's bytes and modification time, to show that nothing touched it.
struct Snapshot {
  bool exists;
  std::string bytes;
  std::filesystem::file_time_type modified;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const std::filesystem::path& file) {
  if (!std::filesystem::exists(file)) return {false, "", {}};
  return {true, read_file(file), std::filesystem::last_write_time(file)};
}

// The author's two sources, with a modification time well in the past so that any
// rewrite would show.
struct AuthorsSources {
  TempFolder folder;
  std::filesystem::path line, service;

  AuthorsSources() : line(folder.path() / kNames.line_source), service(folder.path() / kNames.service_source) {
    write_builtin_texts(folder.path());
    for (const auto& name : {kNames.notes, kNames.slowdown_order, kNames.train_card})
      std::filesystem::remove(folder.path() / name);
    const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    std::filesystem::last_write_time(line, past);
    std::filesystem::last_write_time(service, past);
  }

  testing::ProgramRun compile(std::vector<std::string> options = {}) const {
    std::vector<std::string> arguments = {"compile", kNames.line_source, kNames.service_source};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return run_builder(arguments, folder.path());
  }
};

bool has_compiled_files(const std::filesystem::path& folder) {
  return std::filesystem::exists(folder / kNames.line_plan) && std::filesystem::exists(folder / kNames.records) &&
         std::filesystem::exists(folder / kNames.track_cells);
}

bool has_no_compiled_file(const std::filesystem::path& folder) {
  return !std::filesystem::exists(folder / kNames.line_plan) && !std::filesystem::exists(folder / kNames.records) &&
         !std::filesystem::exists(folder / kNames.track_cells);
}

TEST(CompileCommand, BuiltInTextsCompileToTheBuiltInRunsFiles) {
  TempFolder built;
  const auto program = testing::copy_program_into(built.path());
  const testing::ProgramRun run = testing::run_in(program, {}, built.path());

  AuthorsSources sources;
  const testing::ProgramRun compiled = sources.compile();
  EXPECT_EQ(compiled.exit_status, run.exit_status);
  EXPECT_EQ(compiled.err, run.err);
  ASSERT_TRUE(has_compiled_files(sources.folder.path())) << compiled.err;
  for (const auto& name : {kNames.line_plan, kNames.records, kNames.track_cells}) {
    EXPECT_EQ(read_file(sources.folder.path() / name), read_file(built.path() / name)) << name;
  }
}

TEST(CompileCommand, TheAuthorsSourcesAreNeverTouched) {
  struct Case {
    const char* what;
    std::string from, to;  // an edit of the line source ("" for none)
    int exit_status;
  };
  const std::vector<Case> cases = {
      {"a compile as written", "", "", -1},  // whatever the built-in texts give
      {"a fault in the line half", "indicatori_vmax,  1350,", "indicatori_vmax,  800,", 1},
      {"a fault 25", "lunghezza percorso,    82000", "lunghezza percorso,    8x000", 2},
      {"no general section", "[generale]", "[generalx]", 2},
      {"a shown header fault", "indicatori_vmax,  800,", "indicatori_vmax,  0,", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AuthorsSources sources;
    if (!c.from.empty()) edit(sources.line, c.from, c.to);
    const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    std::filesystem::last_write_time(sources.line, past);
    const Snapshot line = snapshot(sources.line), service = snapshot(sources.service);
    for (const std::vector<std::string>& options : {std::vector<std::string>{}, {"--check"}}) {
      const testing::ProgramRun run = sources.compile(options);
      if (c.exit_status >= 0) {
        EXPECT_EQ(run.exit_status, c.exit_status) << run.err;
      }
      EXPECT_EQ(snapshot(sources.line), line);
      EXPECT_EQ(snapshot(sources.service), service);
    }
  }
}

TEST(CompileCommand, FaultOfALineRowIsReportedAtItsPlace) {
  AuthorsSources sources;
  edit(sources.line, "indicatori_vmax,  1350,", "indicatori_vmax,  800,");
  const testing::ProgramRun run = sources.compile();
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(testing::contains(run.err, "Milano_Tortona_linea.txt:52:1: error: fault 21: speed-limit boards on an occupied cell "
                         "at 800 m\n"
                         " indicatori_vmax,  800,  90,  95,  100,  0,  ,  ,  ,  0\n"
                         " ^\n"));
  EXPECT_TRUE(run.err.ends_with("scenario-builder: 1 fault recorded; last: fault 21 at 800 m\n")) << run.err;
  EXPECT_TRUE(has_compiled_files(sources.folder.path()));  // written all the same
}

TEST(CompileCommand, ShownHeaderFaultWritesNothing) {
  AuthorsSources sources;
  edit(sources.line, "indicatori_vmax,  800,", "indicatori_vmax,  0,");
  const testing::ProgramRun run = sources.compile();
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_TRUE(testing::contains(run.err, " Errore n. 1250\n"));
  EXPECT_TRUE(has_no_compiled_file(sources.folder.path()));
}

TEST(CompileCommand, NoTrackCellsCompilesNothing) {
  AuthorsSources sources;
  edit(sources.line, "[generale]", "[generalx]");
  const testing::ProgramRun run = sources.compile();
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_EQ(run.err,
            "scenario-builder: error: fault 102: line source file has no [generale] section\n"
            "scenario-builder: error: nothing compiled: the sources gave no track cells\n"
            "scenario-builder: 1 fault recorded; last: fault 102 at 0 m\n");
  EXPECT_TRUE(has_no_compiled_file(sources.folder.path()));
}

TEST(CompileCommand, CheckReportsTheSameButWritesNothing) {
  AuthorsSources sources;
  edit(sources.line, "indicatori_vmax,  1350,", "indicatori_vmax,  800,");
  const auto before = folder_contents(sources.folder.path());
  const testing::ProgramRun checked = sources.compile({"--check", "-o", "out"});
  EXPECT_EQ(folder_contents(sources.folder.path()), before);
  EXPECT_FALSE(std::filesystem::exists(sources.folder.path() / "out"));
  const testing::ProgramRun compiled = sources.compile({"-o", "out"});
  EXPECT_EQ(checked.exit_status, compiled.exit_status);
  EXPECT_EQ(checked.err, compiled.err);
  EXPECT_TRUE(has_compiled_files(sources.folder.path() / "out"));  // -o makes the folder
}

TEST(CompileCommand, UnreadableInputsAreNamedBeforeCompiling) {
  TempFolder folder;
  replace_file(folder.path() / "Pisa_linea.txt", "[generale]\r\n");
  std::filesystem::create_directory(folder.path() / "Pisa_3-.txt");
  const testing::ProgramRun one = run_builder({"compile", "Pisa_linea.txt", "Pisa_3-.txt"}, folder.path());
  EXPECT_EQ(one.exit_status, 2);
  EXPECT_EQ(one.err, "scenario-builder: error: cannot read the service source 'Pisa_3-.txt': it is a folder\n");

  const testing::ProgramRun both = run_builder({"compile", "x/Lucca_linea.txt", "Lucca_1-.txt"}, folder.path());
  EXPECT_EQ(both.exit_status, 2);
  EXPECT_EQ(both.err,
            "scenario-builder: error: cannot read the line source 'x/Lucca_linea.txt': no such file\n"
            "scenario-builder: error: cannot read the service source 'Lucca_1-.txt': no such file\n");
  EXPECT_EQ(folder_contents(folder.path()).size(), 1u);
}

TEST(CompileCommand, ACompiledFileNeverReplacesASource) {
  AuthorsSources sources;
  // A line source saved under the name the line plan would take.
  std::filesystem::rename(sources.line, sources.folder.path() / kNames.line_plan);
  const Snapshot before = snapshot(sources.folder.path() / kNames.line_plan);
  const testing::ProgramRun run = run_builder({"compile", kNames.line_plan, kNames.service_source, "--name",
                                               kBuiltinScenarioName},
                                              sources.folder.path());
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_TRUE(testing::contains(run.err, "would replace the line source"));
  EXPECT_EQ(snapshot(sources.folder.path() / kNames.line_plan), before);
}

TEST(CompileCommand, NamesThatTellNothingNeedTheOptions) {
  AuthorsSources sources;
  std::filesystem::rename(sources.line, sources.folder.path() / "route.txt");
  std::filesystem::rename(sources.service, sources.folder.path() / "train.txt");
  const testing::ProgramRun refused = run_builder({"compile", "route.txt", "train.txt"}, sources.folder.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_EQ(refused.err,
            "scenario-builder: error: cannot tell the scenario name from 'route.txt': a line source is named "
            "NAME_linea.txt; give the name with --name NAME\n"
            "Try 'scenario-builder compile --help' for more information.\n");

  const testing::ProgramRun named = run_builder(
      {"compile", "route.txt", "train.txt", "--name", kBuiltinScenarioName, "--number", kBuiltinScenarioNumber},
      sources.folder.path());
  EXPECT_NE(named.exit_status, 2) << named.err;
  EXPECT_TRUE(has_compiled_files(sources.folder.path()));
}

TEST(SourcesCommand, WritesTheFiveTextsOfTheBuildRun) {
  TempFolder expected, folder;
  write_builtin_texts(expected.path());
  const testing::ProgramRun run = run_builder({"sources", "-o", "texts"}, folder.path());
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(folder_contents(folder.path() / "texts"), folder_contents(expected.path()));
  EXPECT_EQ(folder_contents(folder.path() / "texts").size(), 5u);
}

TEST(SourcesCommand, NeverWritesOverAnAuthorsFilesUnlessForced) {
  TempFolder folder;
  replace_file(folder.path() / kNames.service_source, "my own service");
  const testing::ProgramRun refused = run_builder({"sources"}, folder.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_EQ(refused.err, "scenario-builder: error: '.' already holds Milano_Tortona_5-.txt; nothing written "
                         "(--force replaces them)\n");
  EXPECT_EQ(folder_contents(folder.path()).size(), 1u);
  EXPECT_EQ(read_file(folder.path() / kNames.service_source), "my own service");

  const testing::ProgramRun forced = run_builder({"sources", "--force"}, folder.path());
  EXPECT_EQ(forced.exit_status, 0);
  EXPECT_EQ(folder_contents(folder.path()).size(), 5u);
  EXPECT_NE(read_file(folder.path() / kNames.service_source), "my own service");
}

}  // namespace
}  // namespace scenario
