#pragma once

#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "model/scenario_model.hpp"
#include "model/fault_record.hpp"

namespace scenario {

// Whether diagnostics on this file descriptor may be coloured: only on a terminal, and
// never when NO_COLOR is set to anything.
bool colour_wanted(int file_descriptor);

// Prints every recorded fault as it is recorded, the way compilers report errors:
//   Milano_Tortona_5-.txt:48:1: error: fault 16: signal on an occupied cell at 8600 m
//    segnale,    8600, ...
//    ^
// or, for a fault that no source row caused,
//   scenario-builder: error: fault 12: no free cell for ... at 52650 m
// A fault number that keeps coming back is shown a few times; the rest are counted and
// summed up by close(), which ends with the line that scripts read:
//   scenario-builder: 3 faults recorded; last: fault 13 at 54250 m
class Diagnostics : public FaultSink {
 public:
  static constexpr int kShownPerFault = 3;

  Diagnostics(std::ostream& err, bool colour) : err_(err), colour_(colour) {}

  // Faults of the source file named `file_name` are reported under `shown` (the path as
  // the author gave it).
  void show_file_as(const std::string& file_name, const std::string& shown);

  void on_fault(const RecordedFault& fault) override;

  // "scenario-builder: error: MESSAGE", for failures that are not recorded faults.
  void error(std::string_view message);
  // A shown header fault, exactly as the build shows it: " Errore n. 1250".
  void shown_fault(int number);

  int faults_recorded() const { return recorded_; }

  // The repeats that were not shown, then (when any fault was recorded) the summary line
  // with the fault left in the model.
  void close(const ScenarioModel& model);

 private:
  std::string paint(std::string_view text, const char* code) const;
  std::string program_prefix() const;

  std::ostream& err_;
  bool colour_;
  int recorded_ = 0;
  std::map<int, int> times_seen_;
  std::vector<int> suppressed_;  // fault numbers with hidden repeats, in order of the first hidden one
  std::map<std::string, std::string> shown_names_;
};

}  // namespace scenario
