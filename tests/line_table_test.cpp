#include "sources/line_table.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "format/file_io.hpp"
#include "format/file_set.hpp"
#include "tests/temp_folder.hpp"

namespace scenario {
namespace {

LineTable table_of(std::initializer_list<std::string> slots) {
  LineTable table;
  std::size_t k = 0;
  for (const std::string& text : slots) table.set_slot(k++, text);
  return table;
}

std::string repeated(const std::string& piece, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(LineTableBytes, WritesEverySlotUpToTheEndMarker) {
  const LineTable table = table_of({
      "[generale]",
      "",                            // an empty line goes on
      "  two blanks each side  ",
      "Riferimento fine del file",   // not the marker: the match is case-sensitive
      "riferimento fine del file ",  // nor is a longer text
      "realt\u00E0",
      std::string(kEndOfTableMarker),
      "never written",
  });
  EXPECT_EQ(line_table_bytes(table),
            "[generale]\r\n"
            "\r\n"
            "  two blanks each side  \r\n"
            "Riferimento fine del file\r\n"
            "riferimento fine del file \r\n"
            "realt\xE0\r\n");
}

TEST(LineTableBytes, MarkerInTheFirstSlotGivesAnEmptyFile) {
  EXPECT_EQ(line_table_bytes(table_of({std::string(kEndOfTableMarker), "x"})), "");
}

TEST(LineTableBytes, TableWithoutEndMarkerEndsAfterItsLastSlot) {
  EXPECT_EQ(line_table_bytes(LineTable()), repeated("\r\n", LineTable::kSlotCount));

  LineTable full;
  for (std::size_t k = 0; k < LineTable::kSlotCount; ++k) full.set_slot(k, "x");
  EXPECT_EQ(line_table_bytes(full), repeated("x\r\n", LineTable::kSlotCount));
}

TEST(LineTableBytes, RefusesACharacterOutsideWindows1252) {
  EXPECT_THROW(line_table_bytes(table_of({"ok", "\u0100"})), std::invalid_argument);
}

TEST(LineTable, SlotsAreZeroToOneThousand) {
  LineTable table;
  table.set_slot(1000, "last");
  EXPECT_EQ(table.slot(1000), "last");
  EXPECT_THROW(table.slot(1001), std::out_of_range);
  EXPECT_THROW(table.set_slot(1001, "x"), std::out_of_range);
}

TEST(LineTableFromText, OneSlotPerLineThenTheMarker) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"\n", {""}},
      {"a\n\n b \n", {"a", "", " b "}},
      {"a\nb", {"a", "b"}},  // a last line without its newline still counts
  };
  for (const Case& c : cases) {
    const LineTable table = line_table_from_text(c.text);
    for (std::size_t k = 0; k < c.lines.size(); ++k) EXPECT_EQ(table.slot(k), c.lines[k]) << c.text;
    EXPECT_EQ(table.slot(c.lines.size()), kEndOfTableMarker) << c.text;
  }
}

TEST(LineTableFromText, HoldsAtMostOneThousandLines) {
  const LineTable table = line_table_from_text(repeated("line\n", 1000));
  EXPECT_EQ(table.slot(999), "line");
  EXPECT_EQ(table.slot(1000), kEndOfTableMarker);
  EXPECT_EQ(line_table_bytes(table), repeated("line\r\n", 1000));

  EXPECT_THROW(line_table_from_text(repeated("line\n", 1001)), std::logic_error);
}

TEST(LineTableFromText, RefusesALineThatIsTheEndMarker) {
  EXPECT_THROW(line_table_from_text("a\nriferimento fine del file\nb\n"), std::logic_error);
}

TEST(ScriviRighe, CreatesTheFileWhenMissing) {
  testing::TempFolder folder;
  scrivi_righe(folder.path(), "new.txt", line_table_from_text("one\ntwo\n"));
  EXPECT_EQ(read_file(folder.path() / "new.txt"), "one\r\ntwo\r\n");
}

TEST(ScriviRighe, AnUnwritableTextLeavesTheOlderFileAsItWas) {
  testing::TempFolder folder;
  const std::filesystem::path file = folder.path() / "kept.txt";
  replace_file(file, "kept\r\n");
  EXPECT_THROW(scrivi_righe(folder.path(), "kept.txt", table_of({"\u4E2D"})), std::invalid_argument);
  EXPECT_EQ(read_file(file), "kept\r\n");
}

TEST(ScriviRighe, MissingFolderIsAFileError) {
  testing::TempFolder folder;
  EXPECT_THROW(scrivi_righe(folder.path() / "absent", "x.txt", line_table_from_text("x\n")), FileError);
}

}  // namespace
}  // namespace scenario
