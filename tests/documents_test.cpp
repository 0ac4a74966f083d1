#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "documents/form_drawing.hpp"
#include "documents/slowdown_order.hpp"
#include "documents/train_card.hpp"
#include "reading/track_reading.hpp"
#include "sources/scenario_texts.hpp"
#include "format/file_io.hpp"
#include "tests/program_runner.hpp"
#include "tests/reading_fixture.hpp"

namespace scenario {
namespace {

using testing::builtin_scenario;
using testing::compiled_scenario_of;
using testing::replaced;

using Lines = std::vector<std::string>;

Lines lines_of(std::string_view text) {
  Lines lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    lines.emplace_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

// The built-in service with slowdowns added where the readings rise from 0, rise after the
// restart, and fall: 23 in all, more than one form holds.
const LoadedScenario& long_scenario() {
  static const LoadedScenario scenario = [] {
    std::string rows = "[rallentamenti]\n";
    for (const int at : {5200, 12000, 45000}) rows += "rallentamento, " + std::to_string(at) + ", 60, 100, 0, 1, 60\n";
    for (int k = 0; k < 19; ++k) rows += "rallentamento, " + std::to_string(66000 + 500 * k) + ", 30, 50, 0, 1, 30\n";
    return compiled_scenario_of(std::string(kLineSourceText), replaced(kServiceSourceText, "[rallentamenti]\n", rows));
  }();
  return scenario;
}

// Every table line has its bars in the given columns and nowhere else, and is as long as
// its last bar.
void expect_table_geometry(const Lines& lines, size_t first, size_t last, std::vector<int> bars) {
  for (size_t i = first; i <= last; ++i) {
    const std::string& line = lines.at(i);
    ASSERT_EQ(line.size(), static_cast<size_t>(bars.back())) << "line " << i + 1 << ": " << line;
    std::vector<int> found;
    for (size_t c = 0; c < line.size(); ++c)
      if (line[c] == '|') found.push_back(static_cast<int>(c) + 1);
    EXPECT_EQ(found, bars) << "line " << i + 1 << ": " << line;
  }
}

std::string cell(const std::string& line, int first, int last) {
  return line.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
}

TEST(TrainCard, KeepsTheFormsGeometryAsLongAsTheRouteNeeds) {
  const std::vector<int> bars{2, 8, 14, 25, 31, 60, 77, 83};
  const Lines builtin = lines_of(kTrainCardText);
  for (const LoadedScenario* s : {&builtin_scenario(), &long_scenario()}) {
    const Lines card = train_card_lines(*s, {});
    ASSERT_GT(card.size(), 40u) << "more than the 23 rows of the built-in card";
    // The heading strips draw as the built-in card's do, values aside.
    for (const size_t i : {0u, 1u, 2u, 6u, 7u, 11u, 12u, 13u, 14u, 15u}) EXPECT_EQ(card[i], builtin[i]) << "line " << i + 1;
    for (size_t i = 3; i <= 10; ++i) EXPECT_EQ(card[i].size(), builtin[i].size()) << "line " << i + 1;
    expect_table_geometry(card, 13, card.size() - 1, bars);
    EXPECT_EQ(card.back(), card[15]) << "the closing rule repeats the rule under the headings";
    EXPECT_EQ(card[12], std::string(2, ' ') + std::string(80, '_'));
  }
}

TEST(TrainCard, AgreesWithTheBuiltInCardWhereTheyShareData) {
  const Lines card = train_card_lines(builtin_scenario(), {"INTERREGIONALE", "B", "600"});
  const Lines builtin = lines_of(kTrainCardText);
  // The heading, filled from the scenario and the options, is the built-in one but for the
  // first station's name: the built-in card shortens it.
  EXPECT_EQ(card[4], replaced(builtin[4], "MILANO C.le    ", "MILANO CENTRALE"));
  for (const size_t i : {3u, 5u, 8u, 9u, 10u}) EXPECT_EQ(card[i], builtin[i]) << "line " << i + 1;

  // Rows the two share: the reading, the line speed and the time. The built-in card is a
  // constant text and differs elsewhere: it reads 3.810 at MI.LAMBRATE, 38.110 at VOGHERA and
  // 21.910 at TORTONA where the data reads 3.800, 38.100 and 21.900, lists a running speed
  // and passing times the scenario does not hold, and shortens names.
  const auto row_named = [](const Lines& lines, const std::string& name) -> std::string {
    for (const std::string& line : lines)
      if (line.size() > 60 && cell(line, 33, 59).starts_with(name)) return line;
    ADD_FAILURE() << "no row " << name;
    return std::string(83, ' ');
  };
  for (const char* name : {"Cippo chilometro 2.000", "Cippo chilometro 4.500", "Cippo chilometro 26.000",
                           "Cippo chilometro 24.000", "LOCATE TRIULZI", "VILLAMAGGIORE", "PAVIA"}) {
    const std::string ours = row_named(card, name), theirs = row_named(builtin, name);
    EXPECT_EQ(cell(ours, 3, 7), cell(theirs, 3, 7)) << name;
    EXPECT_EQ(cell(ours, 15, 24), cell(theirs, 15, 24)) << name;
  }
  EXPECT_EQ(cell(row_named(card, "MILANO CENTRALE"), 61, 76), cell(row_named(builtin, "MILANO C.LE"), 61, 76));
  EXPECT_EQ(cell(row_named(card, "TORTONA"), 61, 66), cell(row_named(builtin, "TORTONA"), 61, 66));
  EXPECT_EQ(cell(row_named(card, "PAVIA"), 67, 71), "18.42");
}

TEST(TrainCard, LeavesBlankWhatTheScenarioDoesNotHold) {
  const Lines card = train_card_lines(builtin_scenario(), {});
  EXPECT_EQ(cell(card[4], 70, 83), "    V160      ") << "no rank";
  EXPECT_EQ(cell(card[9], 3, 21), std::string(19, ' ')) << "no class";
  EXPECT_EQ(cell(card[9], 38, 56), std::string(19, ' ')) << "no braked mass";
  for (size_t i = 16; i + 1 < card.size(); ++i) {
    EXPECT_EQ(cell(card[i], 9, 13), "     ") << "running speed, line " << i + 1;
    EXPECT_EQ(cell(card[i], 26, 30), "     ") << "No Rs, line " << i + 1;
    EXPECT_EQ(cell(card[i], 78, 82), "     ") << "recovery, line " << i + 1;
  }
  const std::string passed = card[24];  // LOCATE TRIULZI, passed without a time
  EXPECT_EQ(cell(passed, 33, 46), "LOCATE TRIULZI");
  EXPECT_EQ(cell(passed, 61, 76), std::string(16, ' '));
}

TEST(SlowdownOrder, DrawsTwentyRowsToAFormAndFurtherForms) {
  const std::vector<int> bars{2, 6, 35, 48, 59, 69, 82};
  const Lines builtin = lines_of(kSlowdownOrderText);
  for (const auto& [s, forms] : {std::pair{&builtin_scenario(), 1u}, std::pair{&long_scenario(), 2u}}) {
    const Lines order = slowdown_order_lines(*s);
    ASSERT_EQ(order.size(), forms * 40u);
    for (size_t form = 0; form < forms; ++form) {
      const size_t top = form * 40;
      expect_table_geometry(order, top + 8, top + 32, bars);
      EXPECT_EQ(order[top + 32], order[top + 11]) << "the bottom edge repeats the rule under the headings";
      for (const size_t i : {0u, 1u, 2u, 3u, 5u, 7u, 8u, 9u, 10u, 11u})
        EXPECT_EQ(order[top + i], builtin[i]) << "line " << top + i + 1;
      EXPECT_EQ(order[top + 4], "  Linea  MILANO CENTRALE TORTONA");
      for (size_t i = 33; i < 40; ++i) EXPECT_EQ(order[top + i], builtin[i + 1]) << "the prescriptions' key";
    }
  }
}

TEST(SlowdownOrder, TellsTheKilometrePostPassedBeforeEachStart) {
  ASSERT_EQ(slowdowns_of(long_scenario().cells).size(), 23u);
  const Lines order = slowdown_order_lines(long_scenario());
  const struct {
    size_t line;
    const char* row;
  } cases[] = {
      // rising from 0: 5.200 lies after post 5
      {12, " | 1 | MILANO LAMBRATE - ROGOREDO |     5      |    60    |   100   |            |"},
      // rising again after the restart at 9 600: 2.450 after post 2
      {13, " | 2 | ROGOREDO - LOCATE TRIULZI  |     2      |    60    |   100   |            |"},
      // falling: 18.300 is reached after post 19
      {14, " | 3 |CAVA MANARA - BRESSANA BOTTA|     19     |    60    |   100   |            |"},
      // the built-in slowdown, falling: 10.600 after post 11, as the built-in order says
      {15, " | 4 |BRESSANA BOTTARONE - LUNGAVI|     11     |    80    |   250   |            |"},
      // the twenty-first starts the second form, numbered on; 27.300, falling, after post 28
      {40 + 12, " |21 |   PONTECURONE - TORTONA    |     28     |    30    |   50    |            |"},
  };
  for (const auto& c : cases) EXPECT_EQ(order.at(c.line), c.row) << "line " << c.line + 1;
}

// The built-in run into `folder` leaves its files there.
bool built_in_run_into(const std::filesystem::path& folder) {
  return testing::run_build_seam(folder).exit_status == 0;
}

// The built-in run leaves its constant documents beside its compiled files; they are kept
// until the author says --force, and then replaced by the drawn ones, byte for byte the
// line table's text.
TEST(DocumentsCommand, KeepsDocumentsThereUnlessForced) {
  const testing::TempFolder folder;
  ASSERT_TRUE(built_in_run_into(folder.path()));
  const auto card = folder.path() / "Milano_Tortona_5_scheda_treno.txt";
  const std::string constant = read_file(card);

  const auto refused = testing::run_seam({"documents", "--mass", "600"}, folder.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_NE(refused.err.find("already holds Milano_Tortona_5_scheda_treno.txt, Milano_Tortona_5_rallentamenti.txt"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(read_file(card), constant);

  const auto forced = testing::run_seam({"documents", "--force", "--mass", "600"}, folder.path());
  ASSERT_EQ(forced.exit_status, 0) << forced.err;
  EXPECT_EQ(read_file(card), form_bytes(train_card_lines(builtin_scenario(), {"", "", "600"})));
  EXPECT_EQ(read_file(folder.path() / "Milano_Tortona_5_rallentamenti.txt"),
            form_bytes(slowdown_order_lines(builtin_scenario())));
}

// A braked mass longer than its box is refused whole, never printed cut; one that fits is
// printed with its unit.
TEST(DocumentsCommand, ABrakedMassTooLongForTheCardIsRefused) {
  const testing::TempFolder folder;
  ASSERT_TRUE(built_in_run_into(folder.path()));
  const auto card = folder.path() / "Milano_Tortona_5_scheda_treno.txt";
  const std::string constant = read_file(card);
  const auto refused = testing::run_seam({"documents", "--force", "--mass", "99999999999999999999"}, folder.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_EQ(refused.err, "scenario-builder: error: the braked mass '99999999999999999999' does not fit the card's box "
                         "of 12 characters and its T\n");
  EXPECT_EQ(read_file(card), constant);
  EXPECT_EQ(cell(train_card_lines(builtin_scenario(), {"", "", "999999999999"})[9], 44, 56), "999999999999T");
}

// Both documents land or neither: a folder in the second one's place stops the run before
// the first is written.
TEST(DocumentsCommand, WritesBothDocumentsOrNeither) {
  const testing::TempFolder folder;
  ASSERT_TRUE(built_in_run_into(folder.path()));
  const auto card = folder.path() / "Milano_Tortona_5_scheda_treno.txt";
  const std::string constant = read_file(card);
  std::filesystem::remove(folder.path() / "Milano_Tortona_5_rallentamenti.txt");
  std::filesystem::create_directory(folder.path() / "Milano_Tortona_5_rallentamenti.txt");
  const auto refused = testing::run_seam({"documents", "--force"}, folder.path());
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_NE(refused.err.find("Milano_Tortona_5_rallentamenti.txt: cannot replace: it is a folder"), std::string::npos)
      << refused.err;
  EXPECT_EQ(read_file(card), constant);
}

// Whatever a compiled file holds, the documents are drawn from it: a station name with a
// byte that carries no character in Windows-1252 goes to the card as it is, and a position
// at the far end of 32 bits is reckoned exactly.
TEST(DocumentsCommand, TakesWhatTheCompiledRecordsHold) {
  struct Case {
    const char* what;
    void (*edit)(std::string& records);
    const char* card_holds;
  };
  const Case cases[] = {
      {"a byte without a character in a station name",
       [](std::string& records) { records.replace(records.find("PAVIA"), 5, "PAV\x81" "A"); }, "PAV\x81" "A"},
      {"the least 32-bit position", [](std::string& records) { records.replace(43, 4, std::string("\0\0\0\x80", 4)); },
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const testing::TempFolder folder;
    ASSERT_TRUE(built_in_run_into(folder.path()));
    const auto records = folder.path() / "Milano_Tortona_5.sim";
    std::string bytes = read_file(records);
    c.edit(bytes);
    testing::write_bytes(records, bytes);
    const auto drawn = testing::run_seam({"documents", "--force"}, folder.path());
    EXPECT_EQ(drawn.exit_status, 0) << drawn.err;
    EXPECT_NE(read_file(folder.path() / "Milano_Tortona_5_scheda_treno.txt").find(c.card_holds), std::string::npos);
  }
}

}  // namespace
}  // namespace scenario
