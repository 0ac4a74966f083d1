#include "reading/reading_document.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace scenario {
namespace {

std::string text_of(const ReadingDocument& document) {
  std::ostringstream out;
  print_document_text(document, out);
  return out.str();
}

std::string json_of(const ReadingDocument& document) {
  std::ostringstream out;
  print_document_json(document, out);
  return out.str();
}

DocumentRow numbered_row(int64_t i) {
  // A later row is wider and has a field the first has not: the table's columns and widths
  // come from every row, made or held.
  DocumentRow row{{"number", number_value(i * 1000)}, {"name", text_value(std::string(static_cast<size_t>(i), 'x'))}};
  if (i == 3) row.push_back({"note", text_value("late")});
  return row;
}

// Rows made as they are printed read exactly as the same rows held, in a table, as lines
// and in JSON; held rows come first; a section whose maker makes nothing prints no table.
TEST(ReadingDocument, MadeRowsPrintAsHeldRows) {
  ReadingDocument held, made, mixed;
  for (ReadingDocument* d : {&held, &made, &mixed}) d->sections.push_back({"rows", {}, "rows", {}, {}});
  for (int64_t i = 1; i <= 3; ++i) held.sections[0].rows.push_back(numbered_row(i));
  made.sections[0].made_rows = [](const auto& row) {
    for (int64_t i = 1; i <= 3; ++i) row(numbered_row(i));
  };
  mixed.sections[0].rows.push_back(numbered_row(1));
  mixed.sections[0].made_rows = [](const auto& row) {
    for (int64_t i = 2; i <= 3; ++i) row(numbered_row(i));
  };
  EXPECT_EQ(text_of(held),
            "rows\n"
            "     number  name  note\n"
            "       1000  x\n"
            "       2000  xx\n"
            "       3000  xxx   late\n");
  for (const ReadingDocument* d : {&made, &mixed}) {
    EXPECT_EQ(text_of(*d), text_of(held));
    EXPECT_EQ(json_of(*d), json_of(held));
  }
  for (ReadingDocument* d : {&held, &made}) d->sections[0].row_line = [](const DocumentRow& row) {
    return field_text(row, "name");
  };
  EXPECT_EQ(text_of(made), "rows\n  x\n  xx\n  xxx\n");
  EXPECT_EQ(text_of(made), text_of(held));

  ReadingDocument none;
  none.sections.push_back({"rows", {}, "rows", {}, {}});
  none.sections[0].made_rows = [](const auto&) {};
  EXPECT_EQ(text_of(none), "rows\n");
  EXPECT_EQ(json_of(none), "{\n  \"rows\": {\n    \"rows\": []\n  }\n}\n");
}

}  // namespace
}  // namespace scenario
