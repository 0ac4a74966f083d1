#include "compiler/row_shape.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiler/fault_recording.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

// Edits (insert, delete, replace) that turn `a` into `b`, or `limit` + 1 when more than
// `limit` are needed: the table stops at the first row with nothing within the limit. One row
// of the table is kept, on the stack for a keyword's length.
size_t edit_distance(std::string_view a, std::string_view b, size_t limit) {
  std::array<size_t, 64> short_row;
  std::vector<size_t> long_row(b.size() < short_row.size() ? 0 : b.size() + 1);
  const std::span<size_t> row = long_row.empty() ? std::span<size_t>(short_row).first(b.size() + 1) : std::span<size_t>(long_row);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    size_t least = row[0];
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
      least = std::min(least, row[j]);
    }
    if (least > limit) return limit + 1;
  }
  return std::min(row[b.size()], limit + 1);
}

std::string_view trimmed(std::string_view field) {
  const size_t first = field.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  return field.substr(first, field.find_last_not_of(" \t") - first + 1);
}

std::string trimmed_lower(std::string_view field) { return lower_case_1252(trimmed(field)); }

std::string did_you_mean(std::string_view close) {
  return close.empty() ? "" : "; did you mean '" + std::string(close) + "'?";
}

// The edit that writes `close` for the field as written, when there is a close word.
std::optional<DiagnosticFix> fix_to(std::string_view field, std::string_view close) {
  if (close.empty()) return std::nullopt;
  return DiagnosticFix{std::string(trimmed(field)), std::string(close)};
}

}  // namespace

std::string_view closest_word(std::string_view field, std::span<const std::string_view> words) {
  const std::string lower = trimmed_lower(field);
  // Small slips only: at most two edits, and fewer than a third of the word.
  const size_t allowed = std::min<size_t>(2, std::max<size_t>(1, lower.size() / 3));
  std::string_view best;
  size_t best_distance = allowed + 1;
  bool shared = false;
  for (const std::string_view word : words) {
    // At least as many edits as the lengths differ: a word too long or too short to be
    // close costs nothing, whatever length of field a row holds.
    const size_t length_difference = lower.size() > word.size() ? lower.size() - word.size() : word.size() - lower.size();
    if (length_difference > allowed) continue;
    const size_t distance = edit_distance(lower, word, allowed);
    if (distance < best_distance) {
      best = word;
      best_distance = distance;
      shared = false;
    } else if (distance == best_distance && word != best) {
      shared = true;
    }
  }
  return best_distance <= allowed && !shared ? best : std::string_view{};
}

bool is_section_header(std::string_view field) {
  return field.find('[') != std::string_view::npos && field.find(']') != std::string_view::npos;
}

void RowShape::dashed_field(std::string_view field) {
  if (!dashed_) dashed_.emplace(std::string(field), reader_.last_field_place());
}

void RowShape::start_row() {
  context_.row_place = reader_.last_field_place();
  reader_.begin_row();
  row_dashed_ = std::move(dashed_);
  dashed_.reset();
}

std::string RowShape::fields_from_later_lines(const RowText& matched, int row_line) const {
  const std::vector<FieldReader::ReadField>& read = reader_.row_fields();
  if (read.size() != matched.fields.size()) return "";
  for (size_t i = 0; i < read.size(); ++i) {
    const int line = reader_.place_of(read[i].offset).line;
    if (line <= row_line) continue;
    const size_t after = read.size() - i - 1;
    return std::string(matched.fields[i].name) + " '" + utf8_from_1252(read[i].text) + "'" +
           (after == 0 ? "" : " and the " + std::to_string(after) + (after == 1 ? " field" : " fields") + " after it") +
           " from line " + std::to_string(line) + (after == 0 ? "" : " on");
  }
  return "";
}

std::string RowShape::how_last_row_ended() const {
  if (last_row_ == nullptr) return "";
  return "; the " + std::string(last_row_->keyword) + " row before it took '" + utf8_from_1252(last_row_last_field_) +
         "' as its " + std::string(last_row_->fields.back().name);
}

void RowShape::end_matched_row(const RowText& matched, std::string_view keyword, const SourcePlace& row,
                               const std::string& shown) {
  auto read_as = [&] { return matched_by_containment(matched, keyword, lower_case_1252(keyword), row.column); };
  if (row.line == last_row_end_line_ && row.line != quiet_line_) {
    quiet_line_ = row.line;
    report_warning(context_, Warning::kLineHoldsMore,
                   "line " + std::to_string(row.line) + " holds more fields than its row: " + shown +
                       " begins another row on it" + read_as());
  }
  const int end_line = reader_.last_field_place().line;
  if (end_line > row.line) {
    const std::string later = fields_from_later_lines(matched, row.line);
    report_warning(context_, Warning::kRowOverLines,
                   "the fields of this row run over the line end, on to line " + std::to_string(end_line) +
                       (later.empty() ? "" : ": it was read as a " + std::string(matched.keyword) + " row with " + later) +
                       read_as());
  }
  last_row_end_line_ = end_line;
  const std::vector<FieldReader::ReadField>& read = reader_.row_fields();
  const bool whole = !read.empty() && read.size() == matched.fields.size();
  last_row_ = whole ? &matched : nullptr;
  last_row_last_field_ = whole ? read.back().text : std::string_view{};
}

void RowShape::end_row(const RowText* matched, std::string_view keyword, const SectionWords& words) {
  if (!context_.row_place) return;
  const SourcePlace row = *context_.row_place;
  // The field as the author wrote it, letter case and all.
  const std::string shown = "'" + utf8_from_1252(trimmed(keyword)) + "'";
  if (matched != nullptr) {
    end_matched_row(*matched, keyword, row, shown);
    return;
  }
  if (row.line == quiet_line_) return;
  quiet_line_ = row.line;
  if (row.line == last_row_end_line_) {
    report_warning(context_, Warning::kLineHoldsMore, "line " + std::to_string(row.line) + " holds more fields than its row: " + shown +
                               " and what follows it on the line match no row" + how_last_row_ended());
  } else if (row_dashed_ && trimmed(row_dashed_->first).starts_with('-')) {
    // Authors mark notes with a dash; the readers take a field with a dash as standing for the next.
    const std::string dashed = "'" + utf8_from_1252(trimmed(row_dashed_->first)) + "'";
    const std::string_view close = closest_word(trimmed(row_dashed_->first).substr(1), words.keywords);
    report_warning(context_, Warning::kUnmatchedKeyword,
                   dashed + " begins with '-', which marks no note: a field with a dash stands for the field after "
                   "it, so " + shown + " was read as the keyword, matches no row, and the row is dropped" +
                       (close.empty() ? "" : "; if the row is meant, write '" + std::string(close) + "'"),
                   row_dashed_->second, fix_to(row_dashed_->first, close));
  } else if (is_section_header(keyword)) {
    const std::string header = trimmed_lower(keyword);
    if (std::find(words.headers.begin(), words.headers.end(), header) == words.headers.end()) {
      const std::string_view close = closest_word(keyword, words.headers);
      report_warning(context_, Warning::kUnknownHeader, "unknown section header " + shown + did_you_mean(close), std::nullopt,
                     fix_to(keyword, close));
    }
  } else if (!words.but_for_capitals.empty()) {
    report_warning(context_, Warning::kUnmatchedKeyword,
                   shown + " matches no row of this section: keywords are written in lower "
                   "case; did you mean '" + std::string(words.but_for_capitals) + "'?",
                   std::nullopt, fix_to(keyword, words.but_for_capitals));
  } else {
    const std::string_view close = closest_word(keyword, words.keywords);
    report_warning(context_, Warning::kUnmatchedKeyword,
                   shown + " matches no row of this section and is skipped" + did_you_mean(close), std::nullopt,
                   fix_to(keyword, close));
  }
}

}  // namespace scenario
