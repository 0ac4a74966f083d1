#include "driver/diagnostics.hpp"

#include <unistd.h>

#include <cstdlib>

#include "model/fault_table.hpp"

namespace scenario {

bool colour_wanted(int file_descriptor) {
  const char* no_colour = std::getenv("NO_COLOR");
  if (no_colour != nullptr) return false;
  return ::isatty(file_descriptor) == 1;
}

Diagnostics::Diagnostics(std::ostream& err, bool colour, DiagnosticsFormat format)
    : renderer_(make_diagnostic_renderer(format, err, colour)) {}

Diagnostics::~Diagnostics() {
  try {
    close();
  } catch (...) {
    // Standard error that cannot be written to has nobody left to tell.
  }
}

void Diagnostics::show_file_as(const std::string& file_name, const std::string& shown) {
  shown_names_[file_name] = shown;
}

SourcePlace Diagnostics::shown(SourcePlace place) const {
  if (const auto name = shown_names_.find(place.file); name != shown_names_.end()) place.file = name->second;
  return place;
}

void Diagnostics::report(Diagnostic diagnostic) {
  if (diagnostic.place) diagnostic.place = shown(*diagnostic.place);
  for (DiagnosticNote& note : diagnostic.notes)
    if (note.place) note.place = shown(*note.place);
  renderer_->report(diagnostic);
}

void Diagnostics::on_fault(const RecordedFault& fault) {
  ++faults_;
  last_fault_position_m_ = fault.position_m;
  stopped_after_last_fault_ = false;
  std::string message(fault_meaning(fault.number));
  if (!fault.detail.empty()) message += ": " + std::string(fault.detail);
  report(Diagnostic{Severity::kError, fault.number, std::move(message), fault.place, fault.position_m, fault.notes});
}

void Diagnostics::on_diagnostic(const Diagnostic& diagnostic) {
  if (diagnostic.severity == Severity::kWarning) {
    if (warnings_silenced_) return;
    ++warnings_;
  }
  report(diagnostic);
}

void Diagnostics::on_reading_stopped(const Diagnostic& warning) {
  stopped_after_last_fault_ = true;
  on_diagnostic(warning);
}

void Diagnostics::error(std::string_view message) {
  report(Diagnostic{Severity::kError, std::nullopt, std::string(message), std::nullopt, std::nullopt, {}});
}

void Diagnostics::shown_fault(int number) {
  renderer_->report_shown_fault(
      Diagnostic{Severity::kError, number, std::string(fault_meaning(number)), std::nullopt, std::nullopt, {}});
}

void Diagnostics::close(const ScenarioModel& model) {
  DiagnosticsSummary summary{faults_, warnings_, model.error_code, std::nullopt, "", nothing_written_};
  // The position the model holds is said only when it belongs to the last fault: its own,
  // or the row where that fault, still standing, stopped a later reading.
  if (stopped_after_last_fault_) {
    summary.last_position_m = model.error_position_m;
    summary.last_position_is = "the row where it stopped the reading";
  } else {
    summary.last_position_m = last_fault_position_m_;
  }
  close_with(summary);
}

void Diagnostics::close() { close_with(DiagnosticsSummary{faults_, warnings_, 0, std::nullopt, "", nothing_written_}); }

void Diagnostics::close_with(const DiagnosticsSummary& summary) {
  if (closed_) return;
  closed_ = true;
  renderer_->close(summary);
}

}  // namespace scenario
