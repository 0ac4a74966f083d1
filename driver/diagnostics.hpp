#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "driver/diagnostic_renderer.hpp"
#include "driver/diagnostics_format.hpp"
#include "model/fault_record.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// Whether diagnostics on this file descriptor may be coloured: only on a terminal, and
// never when NO_COLOR is set to anything.
bool colour_wanted(int file_descriptor);

// Hears every recorded fault and every warning of a compile as it comes, counts them, and
// has them printed in the chosen format (see the renderers).
class Diagnostics : public FaultSink {
 public:
  Diagnostics(std::ostream& err, bool colour, DiagnosticsFormat format = DiagnosticsFormat::kText);
  ~Diagnostics() override;
  Diagnostics(const Diagnostics&) = delete;
  Diagnostics& operator=(const Diagnostics&) = delete;

  // Faults of the source file named `file_name` are reported under `shown` (the path as
  // the author gave it).
  void show_file_as(const std::string& file_name, const std::string& shown);
  // A diagnostic with neither a place nor a file of its own concerns `file_name`.
  void concern_unplaced_with(const std::string& file_name) { unplaced_file_ = file_name; }

  void on_fault(const RecordedFault& fault) override;
  void on_diagnostic(const Diagnostic& diagnostic) override;
  void on_error(const Diagnostic& error) override;
  void on_reading_stopped(const Diagnostic& warning) override;

  // -w: warnings are neither shown nor counted.
  void silence_warnings() { warnings_silenced_ = true; }
  // --werror: each warning is told and counted as an error.
  void warnings_as_errors() { warnings_as_errors_ = true; }
  // The compile found faults (or, with --werror, warnings) and wrote no file.
  void nothing_written() { nothing_written_ = true; }

  // "scenario-builder: error: MESSAGE", for failures that are not recorded faults.
  void error(std::string_view message, std::string file = {});
  // "scenario-builder: warning: MESSAGE", for what a run is told on the way (a note it does
  // not obey, a wait); never counted as a warning of the sources.
  void notice(std::string_view message);
  // A shown header fault, exactly as the build shows it: " Errore n. 1250".
  void shown_fault(int number);

  int faults_recorded() const { return faults_; }
  int warnings() const { return warnings_; }
  // The compile failed: a fault, an error, or a warning under --werror.
  bool compile_failed() const { return faults_ > 0 || errors_ > 0; }

  // The closing words. Only the first close counts; an object never closed closes as it
  // goes.
  void close();

 private:
  void report(Diagnostic diagnostic);
  SourcePlace shown(SourcePlace place) const;

  std::unique_ptr<DiagnosticRenderer> renderer_;
  int faults_ = 0;
  int errors_ = 0;
  int warnings_ = 0;
  int rows_dropped_ = 0;
  bool warnings_silenced_ = false;
  bool warnings_as_errors_ = false;
  bool nothing_written_ = false;
  int32_t last_fault_ = 0;
  std::optional<int32_t> last_position_m_;
  std::string last_position_is_;
  bool closed_ = false;
  std::map<std::string, std::string, std::less<>> shown_names_;
  std::string unplaced_file_;
};

}  // namespace scenario
