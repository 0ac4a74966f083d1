#include "driver/diagnostics.hpp"

#include <unistd.h>

#include <cstdlib>

#include "model/windows_1252.hpp"
#include "model/fault_table.hpp"

namespace scenario {
namespace {

constexpr const char* kBold = "1";
constexpr const char* kRed = "1;31";
constexpr const char* kGreen = "1;32";
constexpr const char* kCyan = "1;36";

std::string fault_text(const RecordedFault& fault) {
  std::string text = "fault " + std::to_string(fault.number) + ": " + std::string(fault_meaning(fault.number));
  if (!fault.detail.empty()) text += ": " + std::string(fault.detail);
  if (fault.position_m) text += " at " + std::to_string(*fault.position_m) + " m";
  return text;
}

// Blanks under the source line up to the column, keeping its tabs so the caret lines up.
std::string caret_line(std::string_view line, int column) {
  std::string under;
  for (int i = 0; i + 1 < column; ++i) {
    const auto at = static_cast<size_t>(i);
    under += at < line.size() && line[at] == '\t' ? '\t' : ' ';
  }
  return under;
}

}  // namespace

bool colour_wanted(int file_descriptor) {
  const char* no_colour = std::getenv("NO_COLOR");
  if (no_colour != nullptr) return false;
  return ::isatty(file_descriptor) == 1;
}

void Diagnostics::show_file_as(const std::string& file_name, const std::string& shown) {
  shown_names_[file_name] = shown;
}

std::string Diagnostics::paint(std::string_view text, const char* code) const {
  if (!colour_) return std::string(text);
  return std::string("\033[") + code + "m" + std::string(text) + "\033[0m";
}

std::string Diagnostics::program_prefix() const { return paint("scenario-builder:", kBold) + " "; }

void Diagnostics::on_fault(const RecordedFault& fault) {
  ++recorded_;
  const int seen = ++times_seen_[fault.number];
  if (seen > kShownPerFault) {
    if (seen == kShownPerFault + 1) suppressed_.push_back(fault.number);
    return;
  }
  const std::string message = paint("error:", kRed) + " " + paint(fault_text(fault), kBold);
  if (!fault.place) {
    err_ << program_prefix() << message << '\n';
    return;
  }
  const SourcePlace& place = *fault.place;
  std::string file(place.file);
  if (const auto shown = shown_names_.find(file); shown != shown_names_.end()) file = shown->second;
  const std::string where = file + ":" + std::to_string(place.line) + ":" + std::to_string(place.column) + ":";
  err_ << paint(where, kBold) << ' ' << message << '\n';
  err_ << ' ' << utf8_from_1252(place.line_text) << '\n';
  err_ << ' ' << caret_line(place.line_text, place.column) << paint("^", kGreen) << '\n';
}

void Diagnostics::error(std::string_view message) {
  err_ << program_prefix() << paint("error:", kRed) << ' ' << message << '\n';
}

void Diagnostics::shown_fault(int number) { err_ << " Errore n. " << number << '\n'; }

void Diagnostics::close(const ScenarioModel& model) {
  for (const int number : suppressed_) {
    const int hidden = times_seen_[number] - kShownPerFault;
    err_ << program_prefix() << paint("note:", kCyan) << " fault " << number << " recorded " << hidden
         << " more time" << (hidden == 1 ? "" : "s") << ", not shown\n";
  }
  suppressed_.clear();
  if (recorded_ > 0) {
    err_ << program_prefix() << recorded_ << " fault" << (recorded_ == 1 ? "" : "s") << " recorded; last: fault "
         << model.error_code << " at " << model.error_position_m << " m\n";
  }
  err_.flush();
}

}  // namespace scenario
