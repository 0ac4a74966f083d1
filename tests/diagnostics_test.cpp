#include "driver/diagnostics.hpp"

#include <gtest/gtest.h>

#include "tests/text_checks.hpp"

#include <sstream>

#include "compiler/fault_recording.hpp"

namespace scenario {
namespace {

// A model whose faults go to a Diagnostics printing into a string, as a compile sees it.
struct Feed {
  std::ostringstream err;
  Diagnostics diagnostics{err, false};
  ScenarioModel model;
  CompileContext compile{model, &diagnostics};

  // A fault recorded while the compiler stands on a source row.
  void fault_at(std::string_view file, int line, int column, std::string_view text, Fault fault, int32_t position) {
    compile.row_place = SourcePlace{file, line, column, text};
    record_fault(compile, fault, position);
    compile.row_place.reset();
  }
};

TEST(Diagnostics, FaultOfASourceRowShowsPlaceLineAndCaret) {
  Feed feed;
  feed.fault_at("Milano_Tortona_5-.txt", 48, 1, "segnale,    8600,   2, 3", Fault::kSignalOccupied, 8600);
  feed.fault_at("Milano_Tortona_linea.txt", 7, 9, "\tcurva 3,\t1200", Fault::kSpeedLimitBoardOccupied, 1200);
  EXPECT_EQ(feed.err.str(),
            "Milano_Tortona_5-.txt:48:1: error: fault 16: signal on an occupied cell at 8600 m\n"
            " segnale,    8600,   2, 3\n"
            " ^\n"
            "Milano_Tortona_5-.txt:48:1: note: reading of this source stopped here; the rows after line 48 were not "
            "compiled\n"
            "Milano_Tortona_linea.txt:7:9: error: fault 21: speed-limit boards on an occupied cell at 1200 m\n"
            " \tcurva 3,\t1200\n"
            " \t       ^\n"
            "Milano_Tortona_linea.txt:7:9: note: reading of this source stopped here; the rows after line 7 were not "
            "compiled\n");  // the tab before the field stays a tab, so the caret lines up
}

TEST(Diagnostics, FaultWithoutPlaceOrPositionAndTheClosingLine) {
  Feed feed;
  record_fault(feed.compile, Fault::kNoApproachCell, 52650);
  record_fault(feed.compile, Fault::kRuntimeFailure);  // no position of its own, so none is summed up
  feed.diagnostics.close();
  EXPECT_EQ(feed.err.str(),
            "scenario-builder: error: fault 12: no free cell for an approach point in front of a slowdown at 52650 m\n"
            "scenario-builder: error: fault 25: run-time failure while reading the sources\n"
            "scenario-builder: 2 faults recorded; last: fault 25\n");
  EXPECT_EQ(feed.diagnostics.faults_recorded(), 2);
}

TEST(Diagnostics, ARunTimeFailureSaysWhatFailedAndWhere) {
  Feed feed;
  feed.compile.row_place = SourcePlace{"Prova_linea.txt", 5, 1, "pendenza,  12x0,  3"};
  // A failing field is pointed at itself; any other failure at its row.
  record_runtime_failure(feed.compile, RuntimeFailure("a number field holds text",
                                                    SourcePlace{"Prova_linea.txt", 5, 12, "pendenza,  12x0,  3"}));
  record_runtime_failure(feed.compile, RuntimeFailure("32-bit sum overflows"));
  EXPECT_EQ(feed.compile.error_code, 25);
  EXPECT_EQ(feed.err.str(),
            "Prova_linea.txt:5:12: error: fault 25: run-time failure while reading the sources: a number field "
            "holds text\n"
            " pendenza,  12x0,  3\n"
            "            ^\n"
            "Prova_linea.txt:5:1: note: reading of this source stopped here; the rows after line 5 were not compiled\n"
            "Prova_linea.txt:5:1: error: fault 25: run-time failure while reading the sources: 32-bit sum overflows\n"
            " pendenza,  12x0,  3\n"
            " ^\n"
            "Prova_linea.txt:5:1: note: reading of this source stopped here; the rows after line 5 were not compiled\n");
}

TEST(Diagnostics, RepeatsAreShownAFewTimesThenSummedUp) {
  Feed feed;
  for (int i = 0; i < 30; ++i) record_fault(feed.compile, Fault::kNoRepeatOrExitCell, 54000 + 50 * i);
  record_fault(feed.compile, Fault::kNoCellBeforeSignal, 100);
  record_fault(feed.compile, Fault::kNoRepeatOrExitCell, 54250);
  feed.diagnostics.close();
  const std::string err = feed.err.str();
  size_t shown = 0;
  for (size_t at = err.find("error: fault 13"); at != std::string::npos; at = err.find("error: fault 13", at + 1)) ++shown;
  EXPECT_EQ(shown, 3u);
  EXPECT_TRUE(testing::contains(err, "error: fault 11: "));
  EXPECT_TRUE(err.ends_with("scenario-builder: note: fault 13 recorded 28 more times, not shown\n"
                            "scenario-builder: 32 faults recorded; last: fault 13 at 54250 m\n"))
      << err;
}

TEST(Diagnostics, NothingRecordedNothingSaid) {
  Feed feed;
  feed.diagnostics.close();
  EXPECT_EQ(feed.err.str(), "");
}

TEST(Diagnostics, ShownHeaderFaultIsPrintedAsTheBuildShowsIt) {
  Feed feed;
  feed.diagnostics.shown_fault(1250);
  EXPECT_EQ(feed.err.str(), " Errore n. 1250\n");
}

TEST(Diagnostics, AuthorsPathAndWindows1252Text) {
  Feed feed;
  feed.diagnostics.show_file_as("Pisa_linea.txt", "../routes/Pisa_linea.txt");
  feed.fault_at("Pisa_linea.txt", 3, 1, "cartello Citt\xe0, 500", Fault::kIndicatorBoardOccupied, 500);
  EXPECT_EQ(feed.err.str(),
            "../routes/Pisa_linea.txt:3:1: error: fault 6: indicator board on an occupied cell at 500 m\n"
            " cartello Citt\xc3\xa0, 500\n"
            " ^\n"
            "../routes/Pisa_linea.txt:3:1: note: reading of this source stopped here; the rows after line 3 were not "
            "compiled\n");
}

TEST(Diagnostics, ColourOnlyWhenAsked) {
  std::ostringstream plain, coloured;
  Diagnostics without(plain, false), with(coloured, true);
  without.error("x");
  with.error("x");
  EXPECT_EQ(plain.str(), "scenario-builder: error: x\n");
  EXPECT_EQ(coloured.str(), "\033[1mscenario-builder:\033[0m \033[1;31merror:\033[0m x\n");
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(Diagnostics, NoColourOffATerminalOrWithNoColor) {
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(colour_wanted(fileno(file)));  // a file is not a terminal
  std::fclose(file);
  ::setenv("NO_COLOR", "1", 1);
  EXPECT_FALSE(colour_wanted(0));
  ::unsetenv("NO_COLOR");
}

}  // namespace
}  // namespace scenario
