#include "schema/field_reader.hpp"

#include <algorithm>
#include <limits>

#include "model/runtime_failure.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }

}  // namespace

FieldReader::FieldReader(std::string_view text, std::string_view file_name) : text_(text), file_name_(file_name) {
  line_starts_.push_back(0);
  for (size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') ++i;
    if (is_line_end(text_[i])) line_starts_.push_back(i + 1);
  }
}

void FieldReader::skip_blanks() {
  while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

void FieldReader::fail(const std::string& what) const {
  throw RuntimeFailure(what, last_field_place());
}

void FieldReader::fail_at_row(const std::string& what) const {
  if (!row_start_) fail(what);
  throw RuntimeFailure(what, place_of(*row_start_));
}

bool FieldReader::field_begins_its_line() const {
  const SourcePlace place = last_field_place();
  return place.line_text.substr(0, static_cast<size_t>(place.column - 1)).find_first_not_of(" \t") == std::string_view::npos;
}

void FieldReader::expect_more() const {
  if (at_end()) fail_at_row("the source ends in the middle of this row");
}

void FieldReader::consume_line_end() {
  if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
}

std::string FieldReader::read_text() {
  expect_more();
  skip_blanks();
  field_start_ = pos_;
  std::string field;
  if (pos_ < text_.size() && text_[pos_] == '"') {
    const size_t close = text_.find('"', pos_ + 1);
    const size_t end = close == std::string_view::npos ? text_.size() : close;
    field.assign(text_.substr(pos_ + 1, end - pos_ - 1));
    note_row_field(text_.substr(pos_ + 1, end - pos_ - 1));
    pos_ = close == std::string_view::npos ? text_.size() : close + 1;
    const bool closed = close != std::string_view::npos;
    if (text_over_lines_ && (!closed || field.find_first_of("\r\n") != std::string::npos))
      text_over_lines_(last_field_place(), place_of(pos_ == 0 ? 0 : pos_ - 1).line, closed);
    while (pos_ < text_.size() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
  } else {
    const size_t begin = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
    size_t end = pos_;
    while (end > begin && is_blank(text_[end - 1])) --end;
    field.assign(text_.substr(begin, end - begin));
    note_row_field(text_.substr(begin, end - begin));
  }
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',')
      ++pos_;
    else
      consume_line_end();
  }
  return field;
}

std::string FieldReader::read_text(size_t longest_bytes) {
  std::string field = read_text();
  if (field.size() > longest_bytes)
    fail("the text is " + std::to_string(field.size()) + " bytes long; its field holds at most " +
          std::to_string(longest_bytes));
  return field;
}

std::string_view FieldReader::read_number_text() {
  expect_more();
  skip_blanks();
  field_start_ = pos_;
  const size_t begin = pos_;
  while (pos_ < text_.size() && text_[pos_] != ',' && !is_blank(text_[pos_]) && !is_line_end(text_[pos_])) ++pos_;
  const std::string_view token = text_.substr(begin, pos_ - begin);
  note_row_field(token);

  skip_blanks();
  if (pos_ < text_.size()) {
    if (text_[pos_] == ',')
      ++pos_;
    else if (is_line_end(text_[pos_]))
      consume_line_end();
  }
  return token;
}

int64_t FieldReader::read_number(int64_t min, int64_t max) {
  std::string_view token = read_number_text();
  if (token.empty()) return 0;
  bool negative = false;
  if (token.front() == '+' || token.front() == '-') {
    negative = token.front() == '-';
    token.remove_prefix(1);
  }
  if (token.empty()) fail("a number field holds a sign without digits");
  int64_t value = 0;
  for (char c : token) {
    if (c < '0' || c > '9') {
      // Text that begins a later line is the next row's keyword: this row lacks a field.
      if (row_start_ && place_of(*row_start_).line < last_field_place().line && field_begins_its_line())
        fail_at_row("this row lacks a field: its next number was taken from line " +
                    std::to_string(last_field_place().line) + ", which begins with text");
      fail("a number field holds text");
    }
    value = value * 10 + (c - '0');
    if (value > max + 1) fail("the number does not fit its field");  // -min may be max + 1
  }
  if (negative) value = -value;
  if (value < min || value > max) fail("the number does not fit its field");
  return value;
}

int32_t FieldReader::read_long() {
  return static_cast<int32_t>(read_number(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int16_t FieldReader::read_integer() {
  return static_cast<int16_t>(read_number(std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

uint8_t FieldReader::read_byte() { return static_cast<uint8_t>(read_number(0, 255)); }

SourcePlace FieldReader::last_field_place() const { return place_of(field_start_); }

SourcePlace FieldReader::place_of(size_t offset) const {
  const auto after = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
  const auto line_index = static_cast<size_t>(after - line_starts_.begin()) - 1;
  const int line = static_cast<int>(line_index + 1);
  return SourcePlace{file_name_, line, static_cast<int>(offset - line_starts_[line_index] + 1), line_text(line)};
}

std::string_view FieldReader::line_text(int line) const {
  if (line < 1 || static_cast<size_t>(line) > line_starts_.size()) return {};
  const auto index = static_cast<size_t>(line) - 1;
  const size_t begin = line_starts_[index];
  // The line ends where the next one starts, less its line end: no scan, so that the place
  // of every row on one very long line costs the same as on a short one.
  size_t end = text_.size();
  if (index + 1 < line_starts_.size()) {
    end = line_starts_[index + 1] - 1;
    if (text_[end] == '\n' && end > begin && text_[end - 1] == '\r') --end;
  }
  return text_.substr(begin, end - begin);
}

bool contains(std::string_view text, std::string_view word) { return text.find(word) != std::string_view::npos; }

bool contains_ignoring_case(std::string_view text, std::string_view lower_case_word) {
  return contains(lower_case_1252(text), lower_case_word);
}

}  // namespace scenario
