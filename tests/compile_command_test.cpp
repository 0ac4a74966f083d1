// The authoring commands run as an author runs them: the program in a folder of sources.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/build_run.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "postpass/competition_codes.hpp"
#include "format/scenario_files.hpp"
#include "sources/scenario_writers.hpp"
#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

using testing::folder_contents;
using testing::run_seam;
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
    return run_seam(arguments, folder.path());
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
  const testing::ProgramRun run = testing::run_build_seam(built.path());

  AuthorsSources sources;
  const testing::ProgramRun compiled = sources.compile();
  EXPECT_EQ(compiled.exit_status, run.exit_status);
  EXPECT_EQ(compiled.err, run.err);
  ASSERT_TRUE(has_compiled_files(sources.folder.path())) << compiled.err;
  for (const auto& name : {kNames.line_plan, kNames.records, kNames.track_cells}) {
    EXPECT_EQ(read_file(sources.folder.path() / name), read_file(built.path() / name)) << name;
  }
}

// Three more signals right in front of the slowdown at 52600 m take every cell of its
// nearest approach window, so the post-pass finds no cell for its point there.
const std::string kSignalRow = "segnale,   52100,   2, 4, 0,  0, 0,    0,  0,0,0, 0\r\n";
const std::string kWindowTaken = kSignalRow + "segnale,   52250,   2, 4, 0,  0, 0,    0,  0,0,0, 0\r\n" +
                                 "segnale,   52300,   2, 4, 0,  0, 0,    0,  0,0,0, 0\r\n" +
                                 "segnale,   52350,   2, 4, 0,  0, 0,    0,  0,0,0, 0\r\n";

TEST(CompileCommand, TheAuthorsSourcesAreNeverTouched) {
  struct Case {
    const char* what;
    bool in_service;       // which source the edit is made in
    std::string from, to;  // the edit ("" for none)
    int exit_status;
  };
  const std::vector<Case> cases = {
      {"a clean compile", false, "", "", 0},
      {"a fault in the line half", false, "indicatori_vmax,  1350,", "indicatori_vmax,  800,", 1},
      {"a fault in the service half", true, "segnale,    2850,", "segnale,    1750,", 1},
      {"a post-pass fault", true, kSignalRow, kWindowTaken, 1},
      {"a fault 25 in the line half", false, "lunghezza percorso,    82000", "lunghezza percorso,    8x000", 2},
      {"a fault 25 in the service half", true, "sabbia,    300", "sabbia,    3x0", 1},
      {"no general section", false, "[generale]", "[generalx]", 2},
      {"a shown header fault", false, "indicatori_vmax,  800,", "indicatori_vmax,  0,", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AuthorsSources sources;
    if (!c.from.empty()) edit(c.in_service ? sources.service : sources.line, c.from, c.to);
    const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    std::filesystem::last_write_time(sources.line, past);
    std::filesystem::last_write_time(sources.service, past);
    const Snapshot line = snapshot(sources.line), service = snapshot(sources.service);
    for (const std::vector<std::string>& options : {std::vector<std::string>{}, {"--check"}}) {
      const testing::ProgramRun run = sources.compile(options);
      EXPECT_EQ(run.exit_status, c.exit_status) << run.err;
      EXPECT_EQ(snapshot(sources.line), line);
      EXPECT_EQ(snapshot(sources.service), service);
    }
  }
}

// The diagnostics file never takes the place of a source, by any name or link, and is refused
// before it is opened; a diagnostics file that cannot be written whole fails the run.
TEST(CompileCommand, TheDiagnosticsFileNeverReplacesASourceAndAFullDiskIsSaid) {
  AuthorsSources sources;
  const std::filesystem::path folder = sources.folder.path();
  std::filesystem::create_symlink(kNames.service_source, folder / "link.txt");
  std::filesystem::create_hard_link(sources.line, folder / "hard.txt");
  const Snapshot line = snapshot(sources.line), service = snapshot(sources.service);
  for (const std::string& output : {kNames.line_source, "./" + kNames.service_source, (folder / kNames.line_source).string(),
                                    std::string("link.txt"), std::string("hard.txt")}) {
    SCOPED_TRACE(output);
    for (const std::vector<std::string>& options : {std::vector<std::string>{"--check"}, {}}) {
      std::vector<std::string> arguments = options;
      arguments.insert(arguments.end(), {"--diagnostics-output", output});
      const testing::ProgramRun run = sources.compile(arguments);
      EXPECT_EQ(run.exit_status, 2);
      EXPECT_TRUE(testing::contains(run.err, "error: the diagnostics file '" + output + "' would replace the ")) << run.err;
      EXPECT_EQ(snapshot(sources.line), line);
      EXPECT_EQ(snapshot(sources.service), service);
    }
  }
  edit(sources.line, "indicatori_vmax,  1350,", "indicatori_vmax,  800,");
  const testing::ProgramRun full = sources.compile({"--check", "--diagnostics-output", "/dev/full"});
  EXPECT_EQ(full.exit_status, 2);
  EXPECT_EQ(full.err, "scenario-builder: error: cannot write the diagnostics to '/dev/full': No space left on device\n");
}

TEST(CompileCommand, EachKindOfFaultIsReportedWithItsExitStatus) {
  struct Case {
    const char* what;
    bool in_service;
    std::string from, to;
    int exit_status;
    std::string err;  // the whole of standard error
    bool written;     // whether the compiled files are written
  };
  const std::vector<Case> cases = {
      {"a row of the line source", false, "indicatori_vmax,  1350,", "indicatori_vmax,  800,", 1,
       "Milano_Tortona_linea.txt:52:1: error: fault 21: speed-limit boards on an occupied cell at 800 m\n"
       " indicatori_vmax,  800,  90,  95,  100,  0,  ,  ,  ,  0\n"
       " ^\n"
       "Milano_Tortona_linea.txt:51:1: note: cell 17 already holds the speed-limit boards of this row\n"
       " indicatori_vmax,  800,  30,  30,  30,  0,  ,  ,  ,  0\n"
       " ^\n"
       "Milano_Tortona_linea.txt:52:1: note: reading of this source stopped here; the rows after line 52 were not "
       "compiled\n"
       "scenario-builder: 1 fault recorded; last: fault 21 at 800 m; no file written\n",
       false},
      {"a row of the service source", true, "segnale,    2850,", "segnale,    1750,", 1,
       "Milano_Tortona_5-.txt:49:1: error: fault 16: signal on an occupied cell at 1750 m\n"
       " segnale,    1750,   2, 4, 1,  1, 0,    2,  2,1,1, 0\n"
       " ^\n"
       "Milano_Tortona_5-.txt:48:1: note: cell 36 already holds the signal of this row\n"
       " segnale,    1750,   2, 4, 1,  1, 0,    0,  0,0,0, 0\n"
       " ^\n"
       "Milano_Tortona_5-.txt:49:1: note: reading of this source stopped here; the rows after line 49 were not "
       "compiled\n"
       "scenario-builder: 1 fault recorded; last: fault 16 at 1750 m; no file written\n",
       false},
      {"the post-pass", true, kSignalRow, kWindowTaken, 1,
       "Milano_Tortona_5-.txt:46:1: error: fault 12: no free cell for an approach point in front of a slowdown "
       "at 52600 m\n"
       " rallentamento,   52600,    80,  250, 0,  1,  80\n"
       " ^\n"
       "Milano_Tortona_5-.txt:77:1: note: cell 1048 already holds the signal of this row\n"
       " segnale,   52350,   2, 4, 0,  0, 0,    0,  0,0,0, 0\n"
       " ^\n"
       "Milano_Tortona_5-.txt:76:1: note: cell 1047 already holds the signal of this row\n"
       " segnale,   52300,   2, 4, 0,  0, 0,    0,  0,0,0, 0\n"
       " ^\n"
       "Milano_Tortona_5-.txt:75:1: note: cell 1046 already holds the signal of this row\n"
       " segnale,   52250,   2, 4, 0,  0, 0,    0,  0,0,0, 0\n"
       " ^\n"
       "scenario-builder: 1 fault recorded; last: fault 12 at 52650 m (the cell where the signalling walk found no "
       "room); no file written\n",
       false},
      {"a shown header fault", false, "indicatori_vmax,  800,", "indicatori_vmax,  0,", 2, " Errore n. 1250\n", false},
      {"no general section", false, "[generale]", "[generalx]", 2,
       "scenario-builder: error: fault 102: line source file has no [generale] section\n"
       "scenario-builder: error: nothing compiled: the sources gave no track cells\n"
       "scenario-builder: 1 fault recorded; last: fault 102\n",
       false},
      {"a run-time failure before the route length", false, "lunghezza percorso,    82000",
       "lunghezza percorso,    8x000", 2,
       "Milano_Tortona_linea.txt:2:24: error: fault 25: run-time failure while reading the sources: a number "
       "field holds text\n"
       " lunghezza percorso,    8x000\n"
       "                        ^\n"
       "Milano_Tortona_linea.txt:2:1: note: reading of this source stopped here; the rows after line 2 were not "
       "compiled\n"
       "scenario-builder: error: nothing compiled: the sources gave no track cells\n"
       "scenario-builder: 1 fault recorded; last: fault 25\n",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AuthorsSources sources;
    edit(c.in_service ? sources.service : sources.line, c.from, c.to);
    const testing::ProgramRun run = sources.compile();
    EXPECT_EQ(run.exit_status, c.exit_status);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(has_compiled_files(sources.folder.path()), c.written);
    EXPECT_EQ(has_no_compiled_file(sources.folder.path()), !c.written);
  }
}

TEST(CompileCommand, MachineReadableDiagnosticsCarryTheSameFault) {
  AuthorsSources sources;
  edit(sources.service, "segnale,    2850,", "segnale,    1750,");
  const testing::ProgramRun json = sources.compile({"--diagnostics-format=json"});
  EXPECT_EQ(json.exit_status, 1);
  const auto fault = nlohmann::json::parse(json.err);  // the one line, and no closing words
  EXPECT_EQ(fault["fault"], 16);
  EXPECT_EQ(fault["file"], kNames.service_source);
  EXPECT_EQ(fault["line"], 49);
  EXPECT_EQ(fault["position"], 1750);

  const testing::ProgramRun sarif = sources.compile({"--diagnostics-format", "sarif"});
  EXPECT_EQ(sarif.exit_status, 1);
  const auto results = nlohmann::json::parse(sarif.err)["runs"][0]["results"];
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0]["ruleId"], "fault-16");
  EXPECT_EQ(results[0]["locations"][0]["physicalLocation"]["region"]["startLine"], 49);

  // --diagnostics-output: the same document in a file, and nothing on standard error.
  const testing::ProgramRun into_file =
      sources.compile({"--diagnostics-format", "sarif", "--diagnostics-output", "found.sarif"});
  EXPECT_EQ(into_file.exit_status, 1);
  EXPECT_EQ(into_file.err, "");
  EXPECT_EQ(nlohmann::json::parse(read_file(sources.folder.path() / "found.sarif"))["runs"][0]["results"], results);

  // A compile that never starts is still one document.
  const testing::ProgramRun unread =
      run_seam({"compile", "x_linea.txt", "x_1-.txt", "--diagnostics-format=sarif"}, sources.folder.path());
  EXPECT_EQ(unread.exit_status, 2);
  EXPECT_EQ(nlohmann::json::parse(unread.err)["runs"][0]["results"].size(), 2u);
}

TEST(CompileCommand, CheckReportsTheSameButWritesNothing) {
  AuthorsSources sources;
  edit(sources.line, "indicatori_vmax,  1350,", "indicatori_vmax,  800,");
  const auto before = folder_contents(sources.folder.path());
  const testing::ProgramRun checked = sources.compile({"--check", "-o", "out"});
  EXPECT_EQ(folder_contents(sources.folder.path()), before);
  EXPECT_FALSE(std::filesystem::exists(sources.folder.path() / "out"));
  const testing::ProgramRun compiled = sources.compile({"-o", "out", "--write-on-fault"});
  EXPECT_EQ(checked.exit_status, compiled.exit_status);
  EXPECT_EQ(checked.err, compiled.err);
  EXPECT_TRUE(has_compiled_files(sources.folder.path() / "out"));  // -o makes the folder
}

TEST(CompileCommand, UnreadableInputsAreNamedBeforeCompiling) {
  TempFolder folder;
  replace_file(folder.path() / "Pisa_linea.txt", "[generale]\r\n");
  std::filesystem::create_directory(folder.path() / "Pisa_3-.txt");
  const testing::ProgramRun one = run_seam({"compile", "Pisa_linea.txt", "Pisa_3-.txt"}, folder.path());
  EXPECT_EQ(one.exit_status, 2);
  EXPECT_EQ(one.err, "scenario-builder: error: cannot read the service source 'Pisa_3-.txt': it is a folder\n");

  const testing::ProgramRun both = run_seam({"compile", "x/Lucca_linea.txt", "Lucca_1-.txt"}, folder.path());
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
  const testing::ProgramRun run = run_seam({"compile", kNames.line_plan, kNames.service_source, "--name",
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
  const testing::ProgramRun refused = run_seam({"compile", "route.txt", "train.txt"}, sources.folder.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_EQ(refused.err,
            "scenario-builder: error: cannot tell the scenario name from 'route.txt': a line source is named "
            "NAME_linea.txt; give the name with --name NAME\n"
            "Try 'scenario-builder compile --help' for more information.\n");

  const testing::ProgramRun named = run_seam(
      {"compile", "route.txt", "train.txt", "--name", kBuiltinScenarioName, "--number", kBuiltinScenarioNumber},
      sources.folder.path());
  EXPECT_NE(named.exit_status, 2) << named.err;
  EXPECT_TRUE(has_compiled_files(sources.folder.path()));
}

TEST(CompileCommand, TheScenarioIdentityIsWindows1252TextLikeAnyOther) {
  TempFolder folder;
  replace_file(folder.path() / "Cant\xC3\xB9_linea.txt", "[generale]\r\nlunghezza percorso, 1000\r\n");
  replace_file(folder.path() / "Cant\xC3\xB9_1-.txt", "[generale]\r\n");
  const testing::ProgramRun run = run_seam({"compile", "Cant\xC3\xB9_linea.txt", "Cant\xC3\xB9_1-.txt"}, folder.path());
  ASSERT_EQ(run.exit_status, 0) << run.err;
  const auto records = decode_records(read_file(folder.path() / "Cant\xC3\xB9_1.sim"));
  EXPECT_EQ(records[85].text, "Cant\xF9");
  ScenarioModel model;
  model.record(85).text = "Cant\xF9";
  model.record(86).text = "1";
  EXPECT_EQ(records[85].time_s, codice_gara_st(model));
  EXPECT_EQ(decode_track_cells(read_file(folder.path() / "Cant\xC3\xB9_1.dat"))[1].value2, codice_gara_og(model));

  // A character that Windows-1252 has no byte for is refused before anything is written.
  const auto before = folder_contents(folder.path());
  const testing::ProgramRun refused = run_seam(
      {"compile", "Cant\xC3\xB9_linea.txt", "Cant\xC3\xB9_1-.txt", "--name", "\xE6\x9D\xB1\xE4\xBA\xAC", "--number", "1"}, folder.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_TRUE(testing::contains(refused.err, "cannot be written in Windows-1252")) << refused.err;
  EXPECT_EQ(folder_contents(folder.path()), before);
}

TEST(CompileCommand, ATextTooLongForItsRecordIsFault25AtItsField) {
  AuthorsSources sources;
  edit(sources.service, "MILANO LAMBRATE", std::string(65536, 'L'));
  for (const std::vector<std::string>& options : {std::vector<std::string>{"--check"}, {}}) {
    const testing::ProgramRun run = sources.compile(options);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_TRUE(testing::contains(run.err, "Milano_Tortona_5-.txt:32:73: error: fault 25: ")) << run.err.substr(0, 300);
    EXPECT_TRUE(testing::contains(run.err, "the text is 65536 bytes long; its field holds at most 65535"));
  }
}

TEST(SourcesCommand, WritesTheFiveTextsOfTheBuildRun) {
  TempFolder expected, folder;
  write_builtin_texts(expected.path());
  const testing::ProgramRun run = run_seam({"sources", "-o", "texts"}, folder.path());
  EXPECT_EQ(run.exit_status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(folder_contents(folder.path() / "texts"), folder_contents(expected.path()));
  EXPECT_EQ(folder_contents(folder.path() / "texts").size(), 5u);
}

TEST(SourcesCommand, NeverWritesOverAnAuthorsFilesUnlessForced) {
  TempFolder folder;
  replace_file(folder.path() / kNames.service_source, "my own service");
  const testing::ProgramRun refused = run_seam({"sources"}, folder.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_EQ(refused.err, "scenario-builder: error: '.' already holds Milano_Tortona_5-.txt; nothing written "
                         "(--force replaces them)\n");
  EXPECT_EQ(folder_contents(folder.path()).size(), 1u);
  EXPECT_EQ(read_file(folder.path() / kNames.service_source), "my own service");

  const testing::ProgramRun forced = run_seam({"sources", "--force"}, folder.path());
  EXPECT_EQ(forced.exit_status, 0);
  EXPECT_EQ(folder_contents(folder.path()).size(), 5u);
  EXPECT_NE(read_file(folder.path() / kNames.service_source), "my own service");
}

}  // namespace
}  // namespace scenario
