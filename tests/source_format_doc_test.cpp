// The author's reference, docs/source-format.md, held to the program: its fault list is the
// one `explain` tells, its row tables are the row schema's and the cell kinds', the counts
// it states are the program's, and its complete example compiles without a word.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "schema/row_schema.hpp"
#include "format/compiled_layouts.hpp"
#include "model/format_rules.hpp"
#include "postpass/competition_codes.hpp"
#include "model/fault_explanation.hpp"
#include "driver/row_reference.hpp"
#include "format/file_io.hpp"
#include "tests/program_runner.hpp"

namespace scenario {
namespace {

const std::filesystem::path kReference = std::filesystem::path(SCENARIO_DOCS) / "source-format.md";

// The text from the line after `begin` up to `end`.
std::string between(const std::string& text, const std::string& begin, const std::string& end) {
  const size_t start = text.find(begin);
  if (start == std::string::npos) return "";
  const size_t body = text.find('\n', start + begin.size()) + 1;
  const size_t stop = text.find(end, body);
  return stop == std::string::npos ? "" : text.substr(body, stop - body);
}

TEST(SourceFormatReference, FaultListIsTheProgramsFaultTable) {
  const std::string listed =
      between(read_file(kReference), "<!-- fault list begins", "<!-- fault list ends");
  EXPECT_EQ(listed, fault_list_markdown()) << "the fault list of " << kReference
                                           << " is out of date: run 'make fault-reference'";
}

TEST(SourceFormatReference, RowTablesAreTheRowSchemas) {
  const std::string reference = read_file(kReference);
  EXPECT_EQ(reference, with_current_row_tables(reference))
      << "the row tables of " << kReference << " are out of date: run 'make fault-reference'";
}

TEST(SourceFormatReference, EveryRowOfTheSchemaHasItsTable) {
  const std::string reference = read_file(kReference);
  for (const RowText* row : every_row())
    EXPECT_NE(reference.find("`" + std::string(row->keyword) + "`: " + row->test.described()), std::string::npos)
        << row->keyword << " has no row table";
}

// The numbers the reference states about the compiled files, as the program has them.
TEST(SourceFormatReference, CountsOfTheCompiledFilesAreTheProgramsOwn) {
  const std::string reference = read_file(kReference);
  const std::string n = std::to_string(kRouteExtension_m), cell = std::to_string(kCellLength_m);
  const std::string stated[] = {
      "one record of " + std::to_string(kTrackCellBytes) + " bytes per " + cell + " m cell",
      "the constant " + std::to_string(kCellHeaderConstant),
      "scenario records**: " + std::to_string(kRecordCount) + " records",
      "texts from record " + std::to_string(kFirstBoardTextSlot) + " downward",
      "The cells reach " + n + " m past the route length",
      "the last cell is (*L* + " + n + ") / " + cell,
      "needs P + " + std::to_string(kEndMargin_m) + " m of cells",
      "from metre 0 to " + n + " m past the route length",
  };
  for (const std::string& words : stated) EXPECT_NE(reference.find(words), std::string::npos) << words;
}

TEST(SourceFormatReference, TheCompleteExampleCompilesWithoutAWord) {
  const std::string reference = read_file(kReference);
  const testing::TempFolder folder;
  for (const std::string name : {"Prova_linea.txt", "Prova_1-.txt"}) {
    // The code block right after the example's marker line.
    const std::string block = between(reference, "<!-- example: " + name + " -->\n```", "```\n");
    ASSERT_FALSE(block.empty()) << name;
    replace_file(folder.path() / name, block);
  }
  const testing::ProgramRun run =
      testing::run_seam({"compile", "Prova_linea.txt", "Prova_1-.txt"}, folder.path());
  EXPECT_EQ(run.exit_status, 0);
  EXPECT_EQ(run.err, "");
  for (const char* compiled : {"Prova_linea.dat", "Prova_1.sim", "Prova_1.dat"})
    EXPECT_TRUE(std::filesystem::exists(folder.path() / compiled)) << compiled;
}

}  // namespace
}  // namespace scenario
