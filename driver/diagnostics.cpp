#include "driver/diagnostics.hpp"

#include <unistd.h>

#include <cstdlib>

#include "model/fault_table.hpp"
#include "model/warning_table.hpp"

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
  if (!diagnostic.place && diagnostic.file.empty()) diagnostic.file = unplaced_file_;
  if (const auto name = shown_names_.find(diagnostic.file); name != shown_names_.end()) diagnostic.file = name->second;
  if (diagnostic.place) diagnostic.place = shown(*diagnostic.place);
  for (DiagnosticNote& note : diagnostic.notes)
    if (note.place) note.place = shown(*note.place);
  renderer_->report(diagnostic);
}

void Diagnostics::on_fault(const RecordedFault& fault) {
  ++faults_;
  last_fault_ = fault.number;
  last_position_m_ = fault.recorded_position_m ? fault.recorded_position_m : fault.position_m;
  last_position_is_.clear();
  if (fault.recorded_position_m) last_position_is_ = "the cell where the signalling walk found no room";
  report(diagnostic_of_fault(fault));
}

void Diagnostics::on_diagnostic(const Diagnostic& diagnostic) {
  if (diagnostic.severity == Severity::kWarning) {
    if (warnings_silenced_) return;
    if (warnings_as_errors_) {
      Diagnostic error = diagnostic;
      error.severity = Severity::kError;
      error.message += " [--werror]";
      on_error(error);
      return;
    }
    ++warnings_;
    // A keyword close to a row's, with its mend: the whole row was dropped.
    if (diagnostic.warning == warning_number(Warning::kUnmatchedKeyword) && diagnostic.fix) ++rows_dropped_;
  }
  report(diagnostic);
}

void Diagnostics::on_error(const Diagnostic& error) {
  ++errors_;
  report(error);
}

void Diagnostics::on_reading_stopped(const Diagnostic& warning) {
  // The standing fault now names the row where it stopped the reading.
  last_position_m_ = warning.position_m;
  last_position_is_ = "the row where it stopped the reading";
  on_diagnostic(warning);
}

void Diagnostics::error(std::string_view message, std::string file) {
  Diagnostic error{Severity::kError, std::nullopt, std::string(message), std::nullopt, std::nullopt, {}};
  error.file = std::move(file);
  report(std::move(error));
}

void Diagnostics::notice(std::string_view message) {
  report(Diagnostic{Severity::kWarning, std::nullopt, std::string(message), std::nullopt, std::nullopt, {}});
}

void Diagnostics::shown_fault(int number) {
  renderer_->report_shown_fault(
      Diagnostic{Severity::kError, number, std::string(fault_meaning(number)), std::nullopt, std::nullopt, {}});
}

void Diagnostics::close() {
  if (closed_) return;
  closed_ = true;
  renderer_->close(DiagnosticsSummary{faults_, errors_, warnings_, rows_dropped_, last_fault_, last_position_m_, last_position_is_, nothing_written_});
}

}  // namespace scenario
