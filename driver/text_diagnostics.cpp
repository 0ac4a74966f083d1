#include "driver/text_diagnostics.hpp"

#include <algorithm>

#include "driver/control_escapes.hpp"
#include "driver/line_window.hpp"
#include "model/windows_1252.hpp"

namespace scenario {
namespace {

constexpr const char* kBold = "1";
constexpr const char* kRed = "1;31";
constexpr const char* kGreen = "1;32";
constexpr const char* kMagenta = "1;35";
constexpr const char* kCyan = "1;36";

// Blanks under the source line up to the column, keeping its tabs so the caret lines up.
std::string caret_line(std::string_view line, int column) {
  std::string under;
  for (int i = 0; i + 1 < column; ++i) {
    const auto at = static_cast<size_t>(i);
    under += at < line.size() && line[at] == '\t' ? '\t' : ' ';
  }
  return under;
}

std::string plural(int count, std::string_view word) {
  return std::to_string(count) + " " + std::string(word) + (count == 1 ? "" : "s");
}

}  // namespace

std::string TextDiagnostics::paint(std::string_view text, const char* code) const {
  if (!colour_) return std::string(text);
  return std::string("\033[") + code + "m" + std::string(text) + "\033[0m";
}

void TextDiagnostics::print_at(const std::optional<SourcePlace>& place, const std::string& label,
                               const std::string& message, bool with_source_line) {
  // What the sources and file names hold reaches the terminal escaped (the message is
  // escaped before it is painted).
  if (!place) {
    err_ << paint("scenario-builder:", kBold) << ' ' << label << ' ' << message << '\n';
    return;
  }
  const std::string where = escaped_controls(place->file) + ":" + std::to_string(place->line) + ":" +
                            std::to_string(place->column) + ":";
  err_ << paint(where, kBold) << ' ' << label << ' ' << message << '\n';
  if (!with_source_line) return;
  const LineWindow shown = line_window(place->line_text, place->column);
  // The caret stands under the same character of the escaped line.
  const std::string line = escaped_controls(shown.text);
  const size_t before = std::min(shown.text.size(), static_cast<size_t>(std::max(shown.column - 1, 0)));
  const int column = static_cast<int>(escaped_controls(std::string_view(shown.text).substr(0, before)).size()) +
                     (shown.column - static_cast<int>(before));
  err_ << ' ' << utf8_from_1252(line) << '\n';
  err_ << ' ' << caret_line(line, column) << paint("^", kGreen) << '\n';
}

void TextDiagnostics::report(const Diagnostic& diagnostic) {
  if (diagnostic.fault) {
    const int seen = ++times_seen_[*diagnostic.fault];
    if (seen > kShownPerFault) {
      if (seen == kShownPerFault + 1) suppressed_.push_back(*diagnostic.fault);
      return;
    }
  }
  const bool warning = diagnostic.severity == Severity::kWarning;
  const std::string label = warning ? paint("warning:", kMagenta) : paint("error:", kRed);
  // A failure that is neither a fault nor a warning (an unreadable file) is said plainly.
  const std::string headline = escaped_controls(diagnostic_headline(diagnostic));
  print_at(diagnostic.place, label, diagnostic.fault || warning ? paint(headline, kBold) : headline);
  // A note on the line just shown does not show it again.
  for (const DiagnosticNote& note : diagnostic.notes) {
    const bool same_line = note.place && diagnostic.place && note.place->file == diagnostic.place->file &&
                           note.place->line == diagnostic.place->line;
    print_at(note.place, paint("note:", kCyan), escaped_controls(note.message), !same_line);
  }
}

void TextDiagnostics::report_shown_fault(const Diagnostic& diagnostic) {
  err_ << " Errore n. " << diagnostic.fault.value_or(0) << '\n';
}

void TextDiagnostics::close(const DiagnosticsSummary& summary) {
  for (const int number : suppressed_) {
    const int hidden = times_seen_[number] - kShownPerFault;
    print_at(std::nullopt, paint("note:", kCyan),
             "fault " + std::to_string(number) + " recorded " + plural(hidden, "more time") + ", not shown");
  }
  suppressed_.clear();
  std::string counts;
  if (summary.errors > 0) counts = plural(summary.errors, "error");
  if (summary.warnings > 0) counts += (counts.empty() ? "" : ", ") + plural(summary.warnings, "warning");
  if (summary.rows_dropped > 0) counts += " (" + plural(summary.rows_dropped, "row") + " dropped by a misspelt keyword)";
  if (summary.faults_recorded > 0) {
    if (!counts.empty()) counts += ", ";
    counts += plural(summary.faults_recorded, "fault") + " recorded; last: fault " + std::to_string(summary.last_fault);
    if (summary.last_position_m) {
      counts += " at " + std::to_string(*summary.last_position_m) + " m";
      if (!summary.last_position_is.empty()) counts += " (" + summary.last_position_is + ")";
    }
  }
  if (summary.nothing_written) {
    if (!counts.empty()) counts += "; ";
    counts += "no file written";
  }
  if (!counts.empty()) err_ << paint("scenario-builder:", kBold) << ' ' << counts << '\n';
  err_.flush();
}

}  // namespace scenario
