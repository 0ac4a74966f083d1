#include "schema/field_reader.hpp"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "model/runtime_failure.hpp"
#include "schema/row_tables.hpp"
#include "schema/row_values.hpp"

namespace scenario {
namespace {

TEST(FieldReader, OrologioLineReadsThreeNumbersSeparatedByBlanks) {
  FieldReader reader("orologio,    18              14            15 \r\nnext\r\n");
  EXPECT_EQ(reader.read_text(), "orologio");
  EXPECT_EQ(reader.read_long(), 18);
  EXPECT_EQ(reader.read_long(), 14);
  EXPECT_EQ(reader.read_long(), 15);
  EXPECT_EQ(reader.last_field_place().line, 1);
  EXPECT_EQ(reader.read_text(), "next");  // the line end went with the 15
  EXPECT_TRUE(reader.at_end());
}

TEST(FieldReader, EmptyNumberFieldsReadZero) {
  FieldReader reader("indicatori_vmax,  800,  30,  30,  30,  0,  ,  ,  ,  0\n");
  EXPECT_EQ(reader.read_text(), "indicatori_vmax");
  std::vector<int32_t> numbers;
  for (int i = 0; i < 9; ++i) numbers.push_back(reader.read_long());
  EXPECT_EQ(numbers, (std::vector<int32_t>{800, 30, 30, 30, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(reader.at_end());
}

TEST(FieldReader, TextFieldsKeepInnerBlanksAndDropOuterOnes) {
  FieldReader reader("  lunghezza percorso  ,\t cartello  \n");
  EXPECT_EQ(reader.read_text(), "lunghezza percorso");
  EXPECT_EQ(reader.read_text(), "cartello");
  EXPECT_TRUE(reader.at_end());
}

TEST(FieldReader, QuotedTextRunsToTheClosingQuoteAcrossCommasAndLineEnds) {
  FieldReader reader("\"  a, b\nc \" dropped, next\n\"unclosed, to the end");
  EXPECT_EQ(reader.read_text(), "  a, b\nc ");
  EXPECT_EQ(reader.read_text(), "next");
  EXPECT_EQ(reader.read_text(), "unclosed, to the end");
  EXPECT_TRUE(reader.at_end());
}

TEST(FieldReader, EveryLineEndEndsAField) {
  for (const std::string line_end : {"\r\n", "\n", "\r"}) {
    const std::string text = "a" + line_end + "12" + line_end + "b, c" + line_end;
    FieldReader reader(text);
    EXPECT_EQ(reader.read_text(), "a");
    EXPECT_EQ(reader.read_long(), 12);
    EXPECT_EQ(reader.read_text(), "b");
    EXPECT_EQ(reader.read_text(), "c");
    EXPECT_EQ(reader.last_field_place().line, 3);
    EXPECT_EQ(reader.last_field_place().column, 4);
    EXPECT_EQ(reader.line_text(3), "b, c");
    EXPECT_TRUE(reader.at_end()) << "line end of length " << line_end.size();
  }
}

TEST(FieldReader, AnEmptyLineOrOneOfBlanksIsOneEmptyField) {
  FieldReader reader("a\n\n \t \nb\n");
  EXPECT_EQ(reader.read_text(), "a");
  EXPECT_EQ(reader.read_text(), "");
  EXPECT_EQ(reader.read_long(), 0);
  EXPECT_EQ(reader.read_text(), "b");
  EXPECT_TRUE(reader.at_end());
}

TEST(FieldReader, EndOfFileOnlyOnceTheLastFieldAndItsLineEndAreConsumed) {
  FieldReader reader("a, 5\r\n[fine]\r\n");
  EXPECT_FALSE(reader.at_end());
  reader.read_text();
  reader.read_long();
  EXPECT_FALSE(reader.at_end());
  EXPECT_EQ(reader.read_text(), "[fine]");
  EXPECT_TRUE(reader.at_end());
  EXPECT_THROW(reader.read_text(), RuntimeFailure);
  EXPECT_THROW(reader.read_long(), RuntimeFailure);

  FieldReader without_line_end("x, 7");
  without_line_end.read_text();
  EXPECT_EQ(without_line_end.read_long(), 7);
  EXPECT_TRUE(without_line_end.at_end());

  EXPECT_TRUE(FieldReader("").at_end());
}

TEST(FieldReader, NumbersThatDoNotFitOrHoldTextAreRuntimeFailures) {
  struct Case {
    const char* field;
    char type;  // L, I (16-bit) or B (unsigned 8-bit)
    bool fails;
    int64_t value;
  };
  const Case cases[] = {
      {"2147483647", 'L', false, 2147483647}, {"-2147483648", 'L', false, -2147483648LL},
      {"2147483648", 'L', true, 0},           {"-2147483649", 'L', true, 0},
      {"99999999999999999999", 'L', true, 0}, {"+42", 'L', false, 42},
      {"-0", 'L', false, 0},                  {"12abc", 'L', true, 0},
      {"1.5", 'L', true, 0},                  {"1e3", 'L', true, 0},
      {"-", 'L', true, 0},                    {"\"12\"", 'L', true, 0},
      {"32767", 'I', false, 32767},           {"-32768", 'I', false, -32768},
      {"32768", 'I', true, 0},                {"255", 'B', false, 255},
      {"256", 'B', true, 0},                  {"-1", 'B', true, 0},
  };
  for (const Case& c : cases) {
    const std::string text = std::string(c.field) + ",\n";
    FieldReader reader(text);
    auto read = [&]() -> int64_t {
      if (c.type == 'I') return reader.read_integer();
      if (c.type == 'B') return reader.read_byte();
      return reader.read_long();
    };
    if (c.fails) {
      EXPECT_THROW(read(), RuntimeFailure) << c.field << " as " << c.type;
    } else {
      EXPECT_EQ(read(), c.value) << c.field << " as " << c.type;
    }
  }
}

// What a reader that must not stop at a bad number (the language server's) takes: the field
// as a number read delimits it, where it begins, and a quoted text without its quotes.
TEST(FieldReader, ANumberFieldsTextIsTakenWithoutItsValueAndTheLastFieldIsToldAsWritten) {
  const std::string text = "segnale, 12abc 7\n\"q, r\" x, 9";
  FieldReader reader(text);
  reader.read_text();
  EXPECT_EQ(reader.read_number_text(), "12abc");
  EXPECT_EQ(reader.last_field().offset, 9u);
  EXPECT_EQ(reader.read_number_text(), "7");
  EXPECT_EQ(reader.read_text(), "q, r");
  EXPECT_EQ(reader.last_field().offset, 17u);
  EXPECT_EQ(reader.last_field().text, "q, r");
  EXPECT_EQ(reader.last_field().text.data(), text.data() + 18);  // a view of the text
  EXPECT_EQ(reader.read_long(), 9);
  EXPECT_TRUE(reader.at_end());
}

TEST(FieldReader, PlacesNameTheLineAndColumnWhereTheFieldBegins) {
  FieldReader reader("[generale]\r\nlunghezza percorso,    82000\r\n", "Milano_Tortona_linea.txt");
  reader.read_text();
  reader.read_text();
  reader.read_long();
  const SourcePlace place = reader.last_field_place();
  EXPECT_EQ(place.file, "Milano_Tortona_linea.txt");
  EXPECT_EQ(place.line, 2);
  EXPECT_EQ(place.column, 24);
  EXPECT_EQ(place.line_text, "lunghezza percorso,    82000");
}

// A row's values are read as its schema entry types them, in the row's order, as far as they
// are asked for: what lies behind stays unread.
TEST(RowValues, ReadInTheRowsOrderAsFarAsAskedEachAsItsFieldsType) {
  using Field = rows::StationField;
  FieldReader reader("stazione, 1000, 3, 600, 1, 2, 3, -4, 5, 6, 7, 8, 9, 10, 11, 12, 13, Nome\nnext,\n");
  reader.read_text();
  reader.begin_row();
  RowValues<rows::kStationFields> row(reader);
  static_assert(std::is_same_v<decltype(row.get<Field::kType>()), uint8_t&>);
  static_assert(std::is_same_v<decltype(row.get<Field::kField7>()), int16_t&>);
  static_assert(std::is_same_v<decltype(row.get<Field::kName>()), std::string&>);
  EXPECT_EQ(row.get<Field::kLength>(), 600);
  EXPECT_EQ(reader.row_fields().size(), 3u);
  EXPECT_EQ(row.get<Field::kPosition>(), 1000);
  EXPECT_EQ(row.place<Field::kType>().column, 17);
  EXPECT_EQ(row.get<Field::kField7>(), -4);
  EXPECT_EQ(reader.row_fields().size(), 7u);
  row.read_all();
  EXPECT_EQ(row.get<Field::kName>(), "Nome");
  EXPECT_EQ(reader.read_text(), "next");

  // A value its type cannot hold fails at its field, once it is asked for.
  FieldReader too_big("stazione, 1000, 300, 600\n");
  too_big.read_text();
  RowValues<rows::kStationFields> refused(too_big);
  EXPECT_EQ(refused.get<Field::kPosition>(), 1000);
  try {
    refused.get<Field::kLength>();
    ADD_FAILURE() << "a type of 300 read";
  } catch (const RuntimeFailure& failure) {
    EXPECT_EQ(failure.place()->column, 17);
  }
}

TEST(FieldReader, ContainmentWithAndWithoutLetterCase) {
  EXPECT_TRUE(contains("progressiva chilometrica tre", "tre"));
  EXPECT_FALSE(contains("Progressiva chilometrica", "progressiva"));
  EXPECT_TRUE(contains_ignoring_case("LUNGHEZZA Percorso", "lunghezza"));
  EXPECT_TRUE(contains_ignoring_case("CURVA\xC0", "curva\xE0"));  // Windows-1252 capitals
}

}  // namespace
}  // namespace scenario
