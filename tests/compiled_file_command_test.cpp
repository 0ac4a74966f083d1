#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>

#include "driver/commands.hpp"
#include "format/compiled_files.hpp"
#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "tests/model_fixture.hpp"
#include "tests/program_runner.hpp"
#include "tests/text_checks.hpp"

namespace scenario {
namespace {

// The three compiled files of the hand-made model, written into a temporary folder.
class Inspect : public ::testing::Test {
 protected:
  void SetUp() override {
    const ScenarioModel model = testing::sample_model();
    encode_track_cells(model, cells_);
    encode_records(model, records_);
    encode_line_plan(model.line_plan, plan_);
    replace_file(folder_.path() / "Prova_7.dat", cells_);
    replace_file(folder_.path() / "Prova_7.sim", records_);
    replace_file(folder_.path() / "Prova_linea.dat", plan_);
  }

  struct Result {
    int status;
    std::string out, err;
  };

  // Runs inspect in-process on a file of the folder, shown under its bare name.
  Result inspect(const std::string& name, InspectCommand::Format format = InspectCommand::Format::kTable,
                 bool all = false) {
    std::ostringstream out, err;
    Console console{out, err, false};
    const std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path(folder_.path());
    const int status = run_inspect_command(InspectCommand{name, all, format}, console);
    std::filesystem::current_path(current);
    return {status, out.str(), err.str()};
  }

  testing::TempFolder folder_;
  std::string cells_, records_, plan_;
};

TEST_F(Inspect, CellsTableListsTheCellsThatHoldSomething) {
  const Result r = inspect("Prova_7.dat");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  // Cell 6 repeats the fills of cell 5 and holds no feature: not listed.
  EXPECT_EQ(r.out,
            "Prova_7.dat: track cells\n"
            "  cell_count: 7\n"
            "  header_constant: 5121\n"
            "  competition_code: 1234\n"
            "  listed: 6\n"
            "\n"
            "index  metres  kind  feature          value1  value2  value3  value4  signal_time  approach  mountain  "
            "speed_kmh  gradient  adhesion\n"
            "    0       0     0  free                  0       0       0       0            0         0         0  "
            "      150         0         3\n"
            "    1      50     0  free               5121    1234       0       0            0         0         0  "
            "      150         0         3\n"
            "    2     100     0  free                  0       0       0       0            0        81         0  "
            "      150         0         3\n"
            "    3     150     1  signal               23      -1   32767  -32768          240         0         0  "
            "      150         0         3\n"
            "    4     200     0  free                  0       0       0       0            0         0         2  "
            "      150       -12         3\n"
            "    5     250    14  indicator board      80       0       0       0            0         0         0  "
            "      150         0         3\n");
  const Result all = inspect("Prova_7.dat", InspectCommand::Format::kTable, true);
  EXPECT_TRUE(testing::contains(all.out, "  listed: 7\n"));
  EXPECT_TRUE(testing::contains(all.out, "\n    6     300     0  free "));
}

TEST_F(Inspect, RecordsTableGivesEachFilledSlotItsRole) {
  const Result r = inspect("Prova_7.sim");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "Prova_7.sim: scenario records\n"
            "  slots: 87\n"
            "  filled: 6\n"
            "\n"
            "slot  role                   text\n"
            "   1  station                Voghera  position_m 2100  area_start_m 2000  area_end_m 2300  type 2  "
            "timetable_time_s 25950  field_4 1  field_5 255  field_6 0  field_7 -7  field_8 0  field_9 0  field_10 0  "
            "field_11 0  field_12 12  field_13 0  timetable_time 07:12:30\n"
            "  80  board text             Citt\xc3\xa0\n"
            "  81  kilometre-post change           position_m 63200  offset_m 101400  direction 1\n"
            "  84  service data                    braked_mass_percent 85  route_length_m 82000  coaches 9\n"
            "  85  scenario header        Prova    background_uno 1  background_due 31000  background_tre 59500  "
            "constant 610  competition_code 40000\n"
            "  86  scenario header        7        repetition_start_m 10550  repetition_end_m 79900  "
            "repetition_codes 4  sand 3  clock_hours 6  clock_minutes 45  clock_seconds 0\n");
}

TEST_F(Inspect, PlanSummaryAndEveryPoint) {
  const Result r = inspect("Prova_linea.dat");
  EXPECT_EQ(r.out,
            "Prova_linea.dat: line plan\n"
            "  extent_m: 9\n"
            "  computed_points: 8\n"
            "  computed_extent_m: 7\n"
            "  min_x: 0.000\n"
            "  max_x: 4.375\n"
            "  min_y: 0.000\n"
            "  max_y: 5.000\n"
            "  length_m: 8.328\n");
  const Result all = inspect("Prova_linea.dat", InspectCommand::Format::kTable, true);
  EXPECT_TRUE(all.out.ends_with("metre      x      y\n"
                                "    0  0.000  0.000\n"
                                "    1  0.000  1.000\n"
                                "    2  0.000  2.000\n"
                                "    3  0.000  3.000\n"
                                "    4  0.500  4.000\n"
                                "    5  1.500  4.750\n"
                                "    6  2.875  5.000\n"
                                "    7  4.375  4.562\n"))
      << all.out;
}

// Checks a JSON document with Python's json module: `checks` is a Python expression over
// the parsed document `d` that must be true.
void expect_json(const std::string& document, const std::string& checks) {
  if (std::system("python3 -c 'import json' >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3 with json";
  const testing::TempFolder folder;
  testing::write_bytes(folder.path() / "doc.json", document);
  const std::string script = "import json,sys\nd=json.load(open(sys.argv[1]))\nsys.exit(0 if (" + checks + ") else 1)\n";
  testing::write_bytes(folder.path() / "check.py", script);
  const std::string command = "python3 " + testing::shell_quoted((folder.path() / "check.py").string()) + " " +
                              testing::shell_quoted((folder.path() / "doc.json").string());
  EXPECT_EQ(std::system(command.c_str()), 0) << checks << "\n" << document;
}

TEST_F(Inspect, JsonOfEachKindParsesBackWithTheSameContent) {
  const Result cells = inspect("Prova_7.dat", InspectCommand::Format::kJson);
  EXPECT_EQ(cells.status, 0);
  expect_json(cells.out,
              "d['kind']=='track cells' and d['cells'][3]=={'index':3,'metres':150,'kind':1,'feature':'signal',"
              "'value1':23,'value2':-1,'value3':32767,'value4':-32768,'signal_time':240,'approach':0,'mountain':0,"
              "'speed_kmh':150,'gradient':0,'adhesion':3} and len(d['cells'])==6 and d['competition_code']==1234");
  const Result records = inspect("Prova_7.sim", InspectCommand::Format::kJson);
  expect_json(records.out,
              "[r['slot'] for r in d['records']]==[1,80,81,84,85,86] and d['records'][1]['text']=='Citt\\u00e0' "
              "and d['records'][0]['fields']['timetable_time']=='07:12:30' and d['records'][4]['fields']['constant']==610");
  const Result plan = inspect("Prova_linea.dat", InspectCommand::Format::kJson, true);
  expect_json(plan.out,
              "d['computed_points']==8 and d['points'][7]=={'metre':7,'x':4.375,'y':4.5625} and d['max_y']==5");
}

// Every byte of the file is explained once, in order: the offsets of the dump's field
// lines run without a gap or an overlap from 0 to the end of the file.
void expect_every_byte_explained(const std::string& dump, size_t file_size) {
  std::istringstream lines(dump);
  std::string line;
  size_t next = 0;
  while (std::getline(lines, line)) {
    if (line.starts_with("#")) continue;
    std::istringstream fields(line);
    size_t offset = 0;
    fields >> offset;
    EXPECT_EQ(offset, next) << line;
    const std::string rest = line.substr(12, 24);  // the hex column
    size_t bytes = 0;
    for (size_t i = 0; i + 1 < rest.size(); i += 3) bytes += rest[i] != ' ' ? 1u : 0u;
    next = offset + bytes;
  }
  EXPECT_EQ(next, file_size);
}

TEST_F(Inspect, AnnotatedDumpExplainsEveryByte) {
  const Result cells = inspect("Prova_7.dat", InspectCommand::Format::kAnnotate);
  EXPECT_EQ(cells.status, 0);
  expect_every_byte_explained(cells.out, cells_.size());
  EXPECT_TRUE(testing::contains(cells.out, "# track cell 3\n"
                           "        45  01                      kind           1 (signal)\n"
                           "        46  17 00                   value1         23\n"
                           "        48  ff ff                   value2         -1\n"));
  EXPECT_TRUE(testing::contains(cells.out, "        16  01 14                   value1         5121\n"));

  const Result records = inspect("Prova_7.sim", InspectCommand::Format::kAnnotate);
  expect_every_byte_explained(records.out, records_.size());
  EXPECT_TRUE(testing::contains(records.out, "        50  56 6f 67 68 65 72 61    text           \"Voghera\"\n"));

  const Result plan = inspect("Prova_linea.dat", InspectCommand::Format::kAnnotate);
  expect_every_byte_explained(plan.out, plan_.size());
  EXPECT_TRUE(testing::contains(plan.out, "# x, metre 4\n"
                          "        28  05 00                   tag            5 (double)\n"
                          "        30  00 00 00 00 00 00 e0 3f double         0.5\n"));
  EXPECT_TRUE(plan.out.ends_with("# end of file at byte 144\n"));
}

TEST_F(Inspect, LongTextsWrapTheirBytes) {
  ScenarioModel model = testing::sample_model();
  model.record(80).text = "Stazione di Voghera";  // 19 bytes: three lines of hex
  std::string bytes;
  encode_records(model, bytes);
  replace_file(folder_.path() / "Long_7.sim", bytes);
  const Result r = inspect("Long_7.sim", InspectCommand::Format::kAnnotate);
  expect_every_byte_explained(r.out, bytes.size());
  EXPECT_TRUE(testing::contains(r.out, "text           \"Stazione di Voghera\"\n"));
}

TEST_F(Inspect, TruncatedFilesNameTheByteOffset) {
  struct Case {
    std::string name;
    std::string bytes;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"Cut_7.dat", cells_.substr(0, 40),
       "scenario-builder: error: Cut_7.dat: byte 40: the file ends inside field approach: it needs 1 byte, 0 left "
       "(track cell 2)\n"},
      {"Cut_7.sim", records_.substr(0, 55),
       "scenario-builder: error: Cut_7.sim: byte 50: the file ends inside field text: it needs 7 bytes, 5 left "
       "(record 1)\n"},
      {"Cut_linea.dat", plan_.substr(0, plan_.size() - 2),
       "scenario-builder: error: Cut_linea.dat: byte 142: 19 plan elements: the x and y columns must have the same "
       "length\n"},
  };
  for (const Case& c : cases) {
    replace_file(folder_.path() / c.name, c.bytes);
    for (const auto format :
         {InspectCommand::Format::kTable, InspectCommand::Format::kJson, InspectCommand::Format::kAnnotate}) {
      const Result r = inspect(c.name, format);
      EXPECT_EQ(r.status, 2) << c.name;
      EXPECT_EQ(r.err, c.message);
    }
  }
}

TEST(InspectBuiltIn, TheBuiltInRunsFilesInEveryForm) {
  testing::TempFolder folder;
  ASSERT_EQ(testing::run_build_seam(folder.path()).exit_status, 0);
  struct Case {
    std::string file, checks;
  };
  const std::vector<Case> cases = {
      {"Milano_Tortona_5.dat",
       "d['cell_count']==1781 and d['header_constant']==5121 and d['competition_code']==2660 and "
       "{'index':173,'metres':8650,'kind':1,'feature':'signal','value1':32,'value2':11,'value3':11,'value4':8,"
       "'signal_time':240,'approach':0}.items() <= [c for c in d['cells'] if c['index']==173][0].items()"},
      {"Milano_Tortona_5.sim",
       "d['records'][-2]['text']=='Milano_Tortona' and d['records'][-2]['fields']['constant']==610 and "
       "d['records'][-1]['text']=='5' and d['records'][0]['role']=='station'"},
      {"Milano_Tortona_linea.dat", "d['extent_m']==89000 and d['computed_extent_m']==88998 and d['points']==[]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const testing::ProgramRun json = testing::run_seam({"inspect", c.file, "--json"}, folder.path());
    EXPECT_EQ(json.exit_status, 0) << json.err;
    expect_json(json.out, c.checks);
    const testing::ProgramRun table = testing::run_seam({"inspect", c.file}, folder.path());
    EXPECT_EQ(table.exit_status, 0) << table.err;
    EXPECT_TRUE(table.out.starts_with(c.file + ": "));
  }
  const testing::ProgramRun annotated = testing::run_seam({"inspect", "Milano_Tortona_5.sim", "--annotate"},
                                                        folder.path());
  expect_every_byte_explained(annotated.out, read_file(folder.path() / "Milano_Tortona_5.sim").size());
}

TEST_F(Inspect, ProgramExitStatusAndMissingFile) {
  replace_file(folder_.path() / "Cut_7.sim", records_.substr(0, 100));
  const testing::ProgramRun cut = testing::run_seam({"inspect", "Cut_7.sim"}, folder_.path());
  EXPECT_EQ(cut.exit_status, 2);
  EXPECT_TRUE(testing::contains(cut.err, "Cut_7.sim: byte "));

  const testing::ProgramRun missing = testing::run_seam({"inspect", "Gone_7.dat"}, folder_.path());
  EXPECT_EQ(missing.exit_status, 2);
  EXPECT_EQ(missing.err, "scenario-builder: error: cannot read 'Gone_7.dat': no such file\n");

  const testing::ProgramRun unknown = testing::run_seam({"inspect", "notes.txt"}, folder_.path());
  EXPECT_EQ(unknown.exit_status, 2);
  EXPECT_TRUE(testing::contains(unknown.err, "cannot tell what 'notes.txt' holds from its name"));

  const testing::ProgramRun good = testing::run_seam({"inspect", "Prova_7.sim", "--json"}, folder_.path());
  EXPECT_EQ(good.exit_status, 0);
  EXPECT_TRUE(good.out.starts_with("{\n  \"file\": \"Prova_7.sim\",\n"));
}

// Every reader of a scenario's folder loads it the same way: a file it cannot read is told
// as unreadable, a file it reads but cannot decode as damaged at its byte; never one for the
// other.
TEST(ReadingCompiledFiles, EveryReaderTellsAnUnreadableFileFromADamagedOne) {
  const std::vector<std::vector<std::string>> readers = {
      {"summary"}, {"plot", "-o", "out.svg"}, {"documents"}, {"decompile", "-o", "out"}, {"diff", ".", "."}};
  struct Case {
    const char* what;
    void (*spoil)(const std::filesystem::path& records);
    const char* told;
  };
  const Case cases[] = {
      {"records cut short",
       [](const std::filesystem::path& records) { std::filesystem::resize_file(records, 100); },
       "Milano_Tortona_5.sim: byte "},
      {"records that are a folder",
       [](const std::filesystem::path& records) {
         std::filesystem::remove(records);
         std::filesystem::create_directory(records);
       },
       "Milano_Tortona_5.sim: it is a folder"},
  };
  for (const Case& c : cases) {
    testing::TempFolder folder;
    ASSERT_EQ(testing::run_build_seam(folder.path()).exit_status, 0);
    c.spoil(folder.path() / "Milano_Tortona_5.sim");
    for (const std::vector<std::string>& reader : readers) {
      SCOPED_TRACE(std::string(c.what) + ", " + reader.front());
      const auto run = testing::run_seam(reader, folder.path());
      EXPECT_EQ(run.exit_status, 2);
      EXPECT_NE(run.err.find(c.told), std::string::npos) << run.err;
    }
  }
}

// A compiled file is read only when it is a regular file: whatever else stands at its
// name is refused unread, however much it would give (a link to /dev/zero) or however long
// it would keep the reader waiting (a FIFO with no writer).
TEST(ReadingCompiledFiles, WhatIsNotARegularFileIsRefusedUnread) {
  testing::TempFolder folder;
  ASSERT_EQ(testing::run_build_seam(folder.path()).exit_status, 0);
  const std::filesystem::path cells = folder.path() / "Milano_Tortona_5.dat";
  struct Case {
    const char* what;
    void (*plant)(const std::filesystem::path& at);
  };
  const Case cases[] = {
      {"a link to /dev/zero", [](const std::filesystem::path& at) { std::filesystem::create_symlink("/dev/zero", at); }},
      {"a FIFO", [](const std::filesystem::path& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(cells);
    c.plant(cells);
    // A folder's scenario is found only among its regular files.
    const std::pair<std::vector<std::string>, const char*> commands[] = {
        {{"inspect", "Milano_Tortona_5.dat"}, "'Milano_Tortona_5.dat': not a regular file"},
        {{"diff", "Milano_Tortona_5.dat", "Milano_Tortona_5.dat"}, "Milano_Tortona_5.dat: not a regular file"},
        {{"summary"}, "no compiled scenario"},
        {{"decompile", "-o", "out"}, "no compiled scenario"}};
    for (const auto& [command, refused] : commands) {
      const auto run = testing::run_seam(command, folder.path());
      EXPECT_EQ(run.exit_status, 2) << command.front();
      EXPECT_NE(run.err.find(refused), std::string::npos) << run.err;
    }
  }
}

}  // namespace
}  // namespace scenario
