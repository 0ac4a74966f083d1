#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/source_place.hpp"

namespace scenario {

// Reads a source text as a stream of typed fields.
//
// Every read skips blanks (spaces and tabs) first. A field ends at a comma or at the end of
// the line (CR LF, LF or a lone CR), which is consumed with it. A text field keeps what
// stands before that, less its trailing blanks; one that begins with a double quote is the
// text up to the next double quote, and the rest up to the comma or line end is dropped. A
// number field also ends at a blank: the blanks behind it, and one comma or line end right
// after them, belong to it. An empty number field reads 0. A number field that is not an
// optional sign and decimal digits, or that does not fit its type, is a RuntimeFailure, as
// is any read once the end has been reached.
class FieldReader {
 public:
  // `file_name`: the text's file as the author knows it, for the places of its fields.
  explicit FieldReader(std::string_view text, std::string_view file_name = {});

  // True once the last field of the text and its line end have been consumed.
  bool at_end() const { return pos_ >= text_.size(); }

  std::string read_text();
  // A text that goes into a field of at most `longest_bytes` bytes; a longer one is a
  // RuntimeFailure at the field.
  std::string read_text(size_t longest_bytes);
  int32_t read_long();      // signed 32-bit
  int16_t read_integer();   // signed 16-bit
  uint8_t read_byte();      // unsigned 8-bit

  // Where the field returned by the last read began.
  SourcePlace last_field_place() const;
  // The same as a byte of the text, for a place made only when it is told.
  size_t last_field_offset() const { return field_start_; }
  // The place of a byte of the text.
  SourcePlace place_of(size_t offset) const;
  // The text of a 1-based line, without its line end ("" past the last line).
  std::string_view line_text(int line) const;

  // The field returned by the last read is the keyword of a row. A row that ends in the
  // middle (the source ends, or its next number field is the first field of a later line
  // and holds text: the row lacks a field) fails at the row rather than at what follows.
  void begin_row() {
    row_start_ = field_start_;
    row_fields_.clear();
  }

  // A field read behind the keyword of the row being read: where it began and its text as
  // written (a quoted text without its quotes).
  struct ReadField {
    size_t offset;
    std::string_view text;
  };
  // The fields read since begin_row, in order.
  const std::vector<ReadField>& row_fields() const { return row_fields_; }
  // The field returned by the last read, as a field of a row tells it.
  ReadField last_field() const { return {field_start_, last_field_text_}; }

  // Reads a number field as the number reads delimit it, without taking its value: what it
  // holds is never a RuntimeFailure (the end still is). Returns the field as written.
  std::string_view read_number_text();

  // Hears of a quoted text that runs over line ends or is never closed: the place where it
  // began, the line where it ended, and whether a closing quote ended it.
  void on_text_over_lines(std::function<void(const SourcePlace& begin, int end_line, bool closed)> listener) {
    text_over_lines_ = std::move(listener);
  }

 private:
  [[noreturn]] void fail(const std::string& what) const;  // a RuntimeFailure naming the field's place
  [[noreturn]] void fail_at_row(const std::string& what) const;
  bool field_begins_its_line() const;
  void skip_blanks();
  void expect_more() const;
  void consume_line_end();  // at a CR or LF: consume CR LF, LF or CR
  int64_t read_number(int64_t min, int64_t max);
  void note_row_field(std::string_view text) {
    last_field_text_ = text;
    if (row_start_) row_fields_.push_back({field_start_, text});
  }

  std::string_view text_;
  std::string_view file_name_;
  size_t pos_ = 0;
  size_t field_start_ = 0;
  std::string_view last_field_text_;
  std::optional<size_t> row_start_;
  std::vector<ReadField> row_fields_;
  std::function<void(const SourcePlace&, int, bool)> text_over_lines_;
  std::vector<size_t> line_starts_;
};

// Whether `text` contains `word`, with or without regard to letter case.
bool contains(std::string_view text, std::string_view word);
bool contains_ignoring_case(std::string_view text, std::string_view lower_case_word);

}  // namespace scenario
