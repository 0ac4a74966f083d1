// What an author is told about a mistake in the sources: warnings for what is legal but
// rarely meant, faults that point at the row that caused them, and what is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "compiler/row_shape.hpp"
#include "driver/build_run.hpp"
#include "format/compiled_files_decoder.hpp"
#include "format/file_io.hpp"
#include "format/scenario_files.hpp"
#include "sources/scenario_writers.hpp"
#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

using testing::run_seam;
using testing::TempFolder;

const ScenarioFileNames kNames = scenario_file_names(kBuiltinScenarioName, kBuiltinScenarioNumber);

// The built-in scenario's two sources in a folder of their own, edited as a test says.
struct Sources {
  TempFolder folder;

  Sources() {
    ScenarioModel model;
    model.scenario_name = kBuiltinScenarioName;
    model.scenario_number = kBuiltinScenarioNumber;
    write_scenario_texts(model, folder.path());
  }

  std::filesystem::path path(bool service) const {
    return folder.path() / (service ? kNames.service_source : kNames.line_source);
  }

  // Replaces the first `from` by `to`; the test fails when there is none.
  void edit(bool service, const std::string& from, const std::string& to) const {
    std::string text = read_file(path(service));
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    replace_file(path(service), text);
  }

  testing::ProgramRun compile(std::vector<std::string> options = {}) const {
    std::vector<std::string> arguments = {"compile", kNames.line_source, kNames.service_source};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return run_seam(arguments, folder.path());
  }

  std::string compiled(const std::string& name) const { return read_file(folder.path() / name); }
};

constexpr bool kLine = false;
constexpr bool kService = true;

TEST(CompileWarnings, EachMistakeIsToldAtItsPlaceAndLeavesTheBytesAsTheyFollow) {
  struct Case {
    const char* what;
    bool in_service;
    std::string from, to;
    std::string diagnostic;  // the first line of the diagnostic, whole
    bool same_bytes;         // the mistake means nothing to the compiler: the clean build's bytes
  };
  const std::vector<Case> cases = {
      {"unknown section header", kLine, "[pendenze]", "[pendenz]",
       "Milano_Tortona_linea.txt:33:1: warning: unknown section header '[pendenz]'; did you mean '[pendenze]'?", true},
      {"unknown header shown as written", kLine, "[pendenze]", "[Pendenz]",
       "Milano_Tortona_linea.txt:33:1: warning: unknown section header '[Pendenz]'; did you mean '[pendenze]'?", true},
      {"keyword that matches nothing", kService, "segnale,    8600,", "segnal,    8600,",
       "Milano_Tortona_5-.txt:53:1: warning: 'segnal' matches no row of this section and is skipped; did you mean "
       "'segnale'?",
       false},
      {"two kilometre-post changes at one position", kLine, "progressiva chilometrica due,    40500,",
       "progressiva chilometrica due,    63200,",
       "Milano_Tortona_linea.txt:5:1: warning: two kilometre-post changes share the greatest position, 63200 m: all "
       "three changes are dropped, and the reading is the position itself along the route",
       false},
      {"keyword with a capital", kLine, "sfondo due", "Sfondo due",
       "Milano_Tortona_linea.txt:7:1: warning: 'Sfondo due' matches no row of this section: keywords are written in "
       "lower case; did you mean 'sfondo due'?",
       false},
      {"position off its cell", kService, "segnale,    8600,", "segnale,    8610,",
       "Milano_Tortona_5-.txt:53:1: warning: position 8610 m is not on a 50 m cell boundary: the feature is compiled "
       "as if at 8600 m",
       true},
      {"row over a line end", kService, "segnale,    8600,   2,", "segnale,    8600\r\n   2,",
       "Milano_Tortona_5-.txt:53:1: warning: the fields of this row run over the line end, on to line 54: it was "
       "read as a segnale row with sx '2' and the 9 fields after it from line 54 on",
       true},
      {"station without its name", kService, "19, 9, 0, TORTONA", "19, 9, 0",
       "Milano_Tortona_5-.txt:44:1: warning: the fields of this row run over the line end, on to line 45: it was "
       "read as a stazione row with name '[rallentamenti]' from line 45",
       false},
      {"station with a field too many", kService, "0, 0, 0, ROGOREDO", "0, 0, 0, 0, ROGOREDO",
       "Milano_Tortona_5-.txt:33:76: warning: line 33 holds more fields than its row: 'ROGOREDO' and what follows "
       "it on the line match no row; the stazione row before it took '0' as its name",
       false},
      {"line speed rows out of order", kService, "velocita,    2000,   105", "velocita,    1000,   105",
       "Milano_Tortona_5-.txt:19:1: warning: this velocita row at 1000 m is not past the rows before it: rows apply "
       "in the order they are written, so its value holds from 1400 m, not from 1000 m",
       false},
      {"gradient rows out of order", kLine, "pendenza,  1750,   0", "pendenza,  1000,   0",
       "Milano_Tortona_linea.txt:36:1: warning: this pendenza row at 1000 m is not past the rows before it: rows "
       "apply in the order they are written, so its value holds from 1250 m, not from 1000 m",
       false},
      {"board where a station area ends", kLine, "indicatori_vmax,  4500,", "indicatori_vmax,  4050,",
       "Milano_Tortona_5-.txt:32:1: warning: the exit of station 'MILANO LAMBRATE' takes cell 82 (4100 m) whatever "
       "it holds: what stood there (speed-limit boards) is lost",
       false},
      {"line with more than its row", kService, "2,1,1, 240\r\nsegnale,   11350,", "2,1,1, 240, segnale,   11350,",
       "Milano_Tortona_5-.txt:53:56: warning: line 53 holds more fields than its row: 'segnale' begins another row "
       "on it",
       true},
      {"position past the route length", kService, "[codici]", "aderenza, 85000, 100\r\n[codici]",
       "Milano_Tortona_5-.txt:89:1: warning: position 85000 m lies past the route length of 82000 m", true},
      {"UTF-8 letters", kService, "0, PAVIA\r", "0, PAV\xC3\x8C" "A\r",
       "Milano_Tortona_5-.txt:37:76: warning: this source looks like UTF-8: it is read as Windows-1252, so each "
       "letter outside ASCII becomes two or three; save it as Windows-1252 or compile with --input-encoding utf-8",
       false},
      // Values outside their documented range: stored as the field's rule says, told at the field.
      {"gradient out of range", kLine, "pendenza,  1200,   5", "pendenza,  1200,   200",
       "Milano_Tortona_linea.txt:35:20: warning: gradient 200 ‰ is outside -100…155: the file holds -56 ‰", false},
      {"mountain type out of range", kLine, "montagna,   59500,  59650,  2", "montagna,   59500,  59650,  50",
       "Milano_Tortona_linea.txt:49:29: warning: type 50 is outside 0…20: the file holds 40", false},
      {"curve of negative length", kLine, "curvad2,  1400,  1350", "curvad2,  1400,  -1350",
       "Milano_Tortona_linea.txt:12:18: warning: length -1350 m is below 0: the file holds no curve", false},
      {"adhesion out of range", kService, "aderenza,   0,    100", "aderenza,   0,    300",
       "Milano_Tortona_5-.txt:7:19: warning: adhesion 300 is outside 0…255: the file holds 44", false},
      {"clock hour out of range", kService, "orologio,    18 ", "orologio,    25 ",
       "Milano_Tortona_5-.txt:5:14: warning: hours 25 is outside 0…23: the file holds 25", false},
      {"no coaches", kService, "numero vetture,    12", "numero vetture,    -3",
       "Milano_Tortona_5-.txt:2:20: warning: count -3 is below 1: the file holds -3", false},
      {"signal time out of range", kService, "2,1,1, 240", "2,1,1, 500",
       "Milano_Tortona_5-.txt:53:51: warning: time 500 is outside 0…255: the file holds 244", false},
      {"slowdown speed below 0", kService, "rallentamento,   52600,    80,", "rallentamento,   52600,    -50,",
       "Milano_Tortona_5-.txt:46:28: warning: speed -50 km/h is outside 0…32767: the file holds -50 km/h", false},
      {"slowdown field stored in 16 bits", kService, "52600,    80,  250, 0,", "52600,    80,  250, 70000,",
       "Milano_Tortona_5-.txt:46:38: warning: field 4 70000 is outside -32768…32767: the file holds 4464", false},
      {"station hour out of range", kService, "2,1,1,    0,  19, 9, 0, TORTONA", "2,1,1,    0,  25, 9, 0, TORTONA",
       "Milano_Tortona_5-.txt:44:63: warning: hours 25 is outside 0…23: the file holds 25", false},
  };
  Sources clean;
  ASSERT_EQ(clean.compile().exit_status, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sources sources;
    sources.edit(c.in_service, c.from, c.to);
    const testing::ProgramRun run = sources.compile();
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_TRUE(run.err.starts_with(c.diagnostic + "\n")) << run.err;
    // A keyword close to a row's drops that row, and the closing line counts it.
    EXPECT_TRUE(run.err.ends_with("scenario-builder: 1 warning\n") ||
                run.err.ends_with("scenario-builder: 1 warning (1 row dropped by a misspelt keyword)\n"))
        << run.err;
    if (c.same_bytes) {
      for (const std::string& name : {kNames.line_plan, kNames.records, kNames.track_cells})
        EXPECT_TRUE(sources.compiled(name) == clean.compiled(name)) << name;
    }
    // A warning never changes a byte: the files are those of the same sources compiled silently.
    const testing::ProgramRun quiet = sources.compile({"-w", "-o", "quiet"});
    EXPECT_EQ(quiet.exit_status, 0);
    EXPECT_EQ(quiet.err, "");
    for (const std::string& name : {kNames.line_plan, kNames.records, kNames.track_cells})
      EXPECT_TRUE(sources.compiled(name) == sources.compiled("quiet/" + name)) << name;
    // --werror: the same words, told and counted as an error.
    const testing::ProgramRun strict = sources.compile({"--werror", "-o", "strict"});
    EXPECT_EQ(strict.exit_status, 1);
    std::string as_error = c.diagnostic;
    as_error.replace(as_error.find(" warning: "), 10, " error: ");
    EXPECT_TRUE(strict.err.starts_with(as_error + " [--werror]\n")) << strict.err;
    EXPECT_TRUE(strict.err.ends_with("scenario-builder: 1 error; no file written\n")) << strict.err;
    EXPECT_FALSE(std::filesystem::exists(sources.folder.path() / "strict" / kNames.records));
  }
}

// What leaves nothing of a source compiled is an error: exit 1, no file unless asked for.
TEST(CompileErrors, ASourceSwallowedOrNeverReadIsAnError) {
  struct Case {
    const char* what;
    bool in_service;
    std::string from, to;
    std::string diagnostic;  // the first line of the diagnostic, whole
  };
  const std::vector<Case> cases = {
      {"quote never closed in the service source", kService, "MILANO LAMBRATE", "\"MILANO LAMBRATE",
       "Milano_Tortona_5-.txt:32:73: error: this quoted text begins on line 32 and is never closed: the rest of the "
       "file, to line 97, became its text; add the closing '\"'"},
      {"quote never closed in the line source", kLine, "(Km. 2.256)", "\"(Km. 2.256)",
       "Milano_Tortona_linea.txt:72:32: error: this quoted text begins on line 72 and is never closed: the rest of "
       "the file, to line 73, became its text; add the closing '\"'"},
      {"service source without [generale]", kService, "[generale]", "[general]",
       "Milano_Tortona_5-.txt:1:1: error: the service source has no [generale] line: everything in it is skipped, "
       "so no station, signal or line speed would be compiled"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sources sources;
    sources.edit(c.in_service, c.from, c.to);
    const testing::ProgramRun run = sources.compile({"-o", "out"});
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_TRUE(run.err.starts_with(c.diagnostic + "\n")) << run.err;
    EXPECT_TRUE(run.err.ends_with("1 error; no file written\n")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(sources.folder.path() / "out" / kNames.records));
    const testing::ProgramRun written = sources.compile({"--write-on-fault", "-o", "written"});
    EXPECT_EQ(written.exit_status, 1);
    for (const std::string& name : {kNames.line_plan, kNames.records, kNames.track_cells})
      EXPECT_TRUE(std::filesystem::exists(sources.folder.path() / "written" / name)) << name;
  }
}

TEST(CompileFaults, SourcesGivenInSwappedOrderAreNamedSo) {
  Sources sources;
  const testing::ProgramRun run = run_seam(
      {"compile", kNames.service_source, kNames.line_source, "--check", "--name", "Milano_Tortona", "--number", "5"},
      sources.folder.path());
  EXPECT_EQ(run.exit_status, 2);
  EXPECT_TRUE(testing::contains(run.err, "error: fault 25: run-time failure while reading the sources: line source "
                                         "without a route length: its rows are those of a service source; did you "
                                         "swap the two sources?\n"))
      << run.err;
}

TEST(CompileFaults, ALineSourceWithoutARouteLengthIsToldWhyAndWhereItsGeneralSectionBegins) {
  struct Case {
    const char* what;
    std::string from, to;
    std::string diagnostic;
  };
  const std::vector<Case> cases = {
      {"no route length row", "lunghezza percorso,    82000\r\n", "",
       "Milano_Tortona_linea.txt:1:1: error: fault 25: run-time failure while reading the sources: line source without "
       "a route length: the general section that begins here ends at the header '[curve]' on line 9 with no "
       "'lunghezza percorso' row before it"},
      {"a note naming the header before it", "[generale]\r\n", "note: the rows follow [generale]\r\n[generale]\r\n",
       "Milano_Tortona_linea.txt:1:1: error: fault 25: run-time failure while reading the sources: line source without "
       "a route length: the general section begins at the first field holding '[generale]', here, and the header "
       "'[generale]' on line 2 already ends it; take '[generale]' out of this line"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sources sources;
    sources.edit(kLine, c.from, c.to);
    const testing::ProgramRun run = sources.compile({"--check"});
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_TRUE(run.err.starts_with(c.diagnostic + "\n")) << run.err;
  }
}

// A fault that stops the line source leaves the service source unread; it is still checked,
// and what it holds is told with a note, while the faults counted, the exit status and the
// bytes written stay those of the stopped compile.
TEST(CompileFaults, AServiceSourceIsCheckedWhenTheLineSourceStoppedTheCompile) {
  struct Case {
    const char* what;
    std::string from, to;
    int exit_status;
    std::string note;
  };
  const std::vector<Case> cases = {
      {"a row fault in the main section", "curvad2,  1400,  1350", "curvad2,  1400,  1350x", 1,
       "scenario-builder: note: the compile had stopped at fault 25 in the line source: the service source was only "
       "checked, not compiled"},
      {"no general section", "[generale]", "[general]", 2,
       "scenario-builder: note: the compile had stopped at fault 102 in the line source: the service source was only "
       "checked, against a route of 1000000 m, not compiled"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sources stopped;
    stopped.edit(kLine, c.from, c.to);
    Sources both;
    both.edit(kLine, c.from, c.to);
    both.edit(kService, "segnale,    8600,", "segnal,    8600,");
    const testing::ProgramRun clean_service = stopped.compile({"--write-on-fault"});
    const testing::ProgramRun run = both.compile({"--write-on-fault"});
    EXPECT_EQ(run.exit_status, c.exit_status);
    EXPECT_TRUE(testing::contains(run.err, "Milano_Tortona_5-.txt:53:1: warning: 'segnal' matches no row of this "
                                           "section and is skipped; did you mean 'segnale'?\n"))
        << run.err;
    EXPECT_TRUE(testing::contains(run.err, c.note + "\n")) << run.err;
    // The fault summed up is the one that stopped the compile, as without the service source's mistake.
    EXPECT_EQ(run.err.substr(run.err.rfind("; last: ")), clean_service.err.substr(clean_service.err.rfind("; last: ")));
    for (const std::string& name : {kNames.line_plan, kNames.records, kNames.track_cells}) {
      EXPECT_EQ(std::filesystem::exists(both.folder.path() / name), std::filesystem::exists(stopped.folder.path() / name));
      if (std::filesystem::exists(stopped.folder.path() / name)) {
        EXPECT_TRUE(both.compiled(name) == stopped.compiled(name)) << name;
      }
    }
  }
}

TEST(CompileErrors, AnEmptyServiceSourceIsSaidToBeEmpty) {
  Sources sources;
  replace_file(sources.path(kService), "");
  const testing::ProgramRun run = sources.compile({"--check"});
  EXPECT_EQ(run.exit_status, 1);
  EXPECT_TRUE(run.err.starts_with("Milano_Tortona_5-.txt:1:1: error: the service source is empty")) << run.err;
}

TEST(CompileFaults, EachFaultPointsAtTheRowThatCausedItAndSaysWhatFollowed) {
  struct Case {
    const char* what;
    bool in_service;
    std::string from, to;
    std::vector<std::string> lines;  // lines standard error holds, in this order
  };
  const std::vector<Case> cases = {
      {"a row that lacks a field", kService, "2,  2,1,1, 240", "2,  2,1, 240",
       {"Milano_Tortona_5-.txt:53:1: error: fault 25: run-time failure while reading the sources: this row lacks a "
        "field: its next number was taken from line 54, which begins with text",
        "Milano_Tortona_5-.txt:53:1: note: reading of this source stopped here; the rows after line 53 were not "
        "compiled",
        "scenario-builder: 1 fault recorded; last: fault 25; no file written"}},
      {"a kilometre post off its cell", kLine, "-9550,", "-9555,",
       {"Milano_Tortona_linea.txt:3:1: error: fault 2: kilometre-post change whose position or offset is not a "
        "multiple of 50",
        "scenario-builder: 1 fault recorded; last: fault 2; no file written"}},
      {"a fault 15 that stops the service source at its first signal", kLine, "[montagne]",
       "pendenza, 88950, 0\r\n[montagne]",
       {"Milano_Tortona_linea.txt:48:1: error: fault 15: feature too close to or beyond the end of the track cells at "
        "88950 m",
        "Milano_Tortona_5-.txt:46:1: warning: fault 15, recorded earlier, still stands and ends the reading here at 52600 m",
        "Milano_Tortona_5-.txt:46:1: note: reading of this source stopped here; the rows after line 46 were not "
        "compiled",
        "scenario-builder: 1 warning, 1 fault recorded; last: fault 15 at 52600 m (the row where it stopped the "
        "reading); no file written"}},
      {"a row whose fields are parted by tabs, read as a row by containment", kService,
       "segnale,    8600,   2,", "segnale\t8600\t2,",
       {"Milano_Tortona_5-.txt:53:1: error: fault 25: run-time failure while reading the sources: this row lacks a "
        "field: its next number was taken from line 54, which begins with text; 'segnale\t8600\t2' was read as a "
        "segnale row: 'segnale' at column 1"}},
      {"a line speed its cells cannot hold, told at its field though the next row writes it", kService,
       "velocita,    1350,    95", "velocita,    1350,    2000",
       {"Milano_Tortona_5-.txt:18:23: error: fault 25: run-time failure while reading the sources: line speed 2000 "
        "km/h does not fit its byte (0 to 1277 km/h)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Sources sources;
    sources.edit(c.in_service, c.from, c.to);
    const testing::ProgramRun run = sources.compile();
    EXPECT_EQ(run.exit_status, 1);
    size_t at = 0;
    for (const std::string& line : c.lines) {
      const size_t found = run.err.find(line + "\n", at);
      EXPECT_NE(found, std::string::npos) << line << "\n--- in ---\n" << run.err;
      if (found != std::string::npos) at = found + line.size();
    }
    EXPECT_FALSE(std::filesystem::exists(sources.folder.path() / kNames.records));
  }
}

TEST(CompileFaults, OlderCompiledFilesStayUnlessWritingOnFaultIsAsked) {
  Sources sources;
  ASSERT_EQ(sources.compile().exit_status, 0);
  const std::string older = sources.compiled(kNames.track_cells);
  sources.edit(kService, "segnale,    2850,", "segnale,    1750,");
  EXPECT_EQ(sources.compile().exit_status, 1);
  EXPECT_EQ(sources.compiled(kNames.track_cells), older);
  const testing::ProgramRun written = sources.compile({"--write-on-fault"});
  EXPECT_EQ(written.exit_status, 1);
  EXPECT_FALSE(testing::contains(written.err, "no file written"));
  EXPECT_NE(sources.compiled(kNames.track_cells), older);
}

TEST(SourceEncoding, WideSourcesAreRefusedAndUtf8IsReadWhenAsked) {
  Sources sources;
  // UTF-8 with its letter read as UTF-8 gives the bytes of the Windows-1252 source.
  sources.edit(kService, "0, PAVIA\r", "0, PAV\xCC" "A\r");
  ASSERT_EQ(sources.compile().exit_status, 0);
  const std::string windows_1252 = sources.compiled(kNames.records);
  sources.edit(kService, "0, PAV\xCC" "A\r", "0, PAV\xC3\x8C" "A\r");
  const testing::ProgramRun utf8 = sources.compile({"--input-encoding", "utf-8"});
  EXPECT_EQ(utf8.exit_status, 0);
  EXPECT_EQ(utf8.err, "");
  EXPECT_EQ(sources.compiled(kNames.records), windows_1252);

  // A character Windows-1252 does not have is an error at its line and column.
  sources.edit(kService, "0, PAV\xC3\x8C" "A\r", "0, PAV\xE2\x86\x92" "A\r");  // an arrow
  const testing::ProgramRun arrow = sources.compile({"--input-encoding", "utf-8", "--check"});
  EXPECT_EQ(arrow.exit_status, 2);
  EXPECT_TRUE(arrow.err.starts_with("Milano_Tortona_5-.txt:37:76: error: this source cannot be read as UTF-8 into "
                                    "Windows-1252: character U+2192 has no Windows-1252 byte"))
      << arrow.err;
  // Lines ended by a lone CR are counted as the reader counts them.
  std::string lone_cr = read_file(sources.path(kService));
  std::erase(lone_cr, '\n');
  replace_file(sources.path(kService), lone_cr);
  const testing::ProgramRun arrow_cr = sources.compile({"--input-encoding", "utf-8", "--check"});
  EXPECT_TRUE(arrow_cr.err.starts_with("Milano_Tortona_5-.txt:37:76: error: this source cannot be read as UTF-8"))
      << arrow_cr.err;

  struct Wide {
    const char* encoding;
    std::string bytes;
  };
  const std::vector<Wide> wides = {
      {"UTF-16 (little-endian)", std::string("\xFF\xFE[\0g\0", 6)},
      {"UTF-16 (big-endian)", std::string("\0[\0g\0e\0n", 8)},
      {"UTF-32 (little-endian)", std::string("[\0\0\0g\0\0\0", 8)},
  };
  for (const Wide& wide : wides) {
    replace_file(sources.path(kLine), wide.bytes);
    const testing::ProgramRun run = sources.compile({"--check"});
    EXPECT_EQ(run.exit_status, 2) << wide.encoding;
    EXPECT_EQ(run.err, "scenario-builder: error: 'Milano_Tortona_linea.txt' is written in " + std::string(wide.encoding) +
                           "; save it as Windows-1252, or as UTF-8 and compile with --input-encoding utf-8\n");
  }
}

TEST(ClosestWord, OffersOneWordWithinTwoEditsAndFewerThanAThirdOfIt) {
  constexpr std::string_view kWords[] = {"velocita", "aderenza", "stazione", "abcd", "abce"};
  struct Case {
    std::string field;
    std::string_view offered;
  };
  const Case cases[] = {
      {"velocta", "velocita"},     {"  VELOCTA ", "velocita"}, {"vlocta", "velocita"},
      {"vlcta", ""},               {"aderenzaxyz", ""},        {"stazoine", "stazione"},
      {"abcf", ""},  // one edit from two words
      {"xyzzy", ""},               {std::string(5000, 'v'), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(closest_word(c.field, kWords), c.offered) << c.field.substr(0, 20);
}

}  // namespace
}  // namespace scenario
