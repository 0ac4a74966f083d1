#pragma once

// One fuzz input compiled in memory: the line source, a NUL byte, then the service source
// (an input without a NUL is a line source with an empty service source). Shared by the
// fuzzer and the regression test that replays the corpus.
#include <cstdlib>
#include <string>
#include <string_view>

#include "compiler/source_file.hpp"
#include "compiler/compile_entry.hpp"
#include "fuzz/route_length_bound.hpp"
#include "model/fault_record.hpp"
#include "model/runtime_failure.hpp"

namespace scenario::fuzzing {

// The plan is made metre by metre as it is encoded: a route far longer than its input
// (a few bytes say "lunghezza percorso, 9000000") would spend every run in the same loop.
// Its encoder is reached by routes in proportion to their input.
inline constexpr int64_t kPlanMetresPerInputByte = 1;
inline constexpr int64_t kPlanMetresAlways = 4096;

// Reads every byte of every diagnostic, as the commands' renderers and the language server
// do: a place that points into a source already gone is a finding, which a compile without
// a sink would never reach (the service source is only checked when someone listens).
class ReadingSink : public FaultSink {
 public:
  void on_fault(const RecordedFault& fault) override { read(diagnostic_of_fault(fault)); }
  void on_diagnostic(const Diagnostic& diagnostic) override { read(diagnostic); }

  size_t bytes_read() const { return bytes_read_; }

 private:
  void read(std::string_view text) {
    for (const char c : text)
      if (c != '\0') ++bytes_read_;
  }
  void read(const Diagnostic& diagnostic) {
    read(diagnostic.message);
    read(diagnostic.file);
    if (diagnostic.place) {
      read(diagnostic.place->file);
      read(diagnostic.place->line_text);
    }
    for (const DiagnosticNote& note : diagnostic.notes) {
      read(note.message);
      if (note.place) read(note.place->line_text);
    }
  }

  size_t bytes_read_ = 0;
};

inline CompileStatus compile_fuzz_input(std::string_view input) {
  const size_t split = input.find('\0');
  const std::string_view line = input.substr(0, split);
  const std::string_view service = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  ScenarioModel model;
  model.scenario_name = "Fuzz";
  model.scenario_number = "1";
  SourceFile line_source = SourceFile::in_memory("fuzz_linea.txt", std::string(line));
  SourceFile service_source = SourceFile::in_memory("fuzz_1-.txt", std::string(service));
  ReadingSink sink;
  CompileContext context(model, &sink);
  // A service source the line source left unread is checked against a route no longer than
  // the compiled ones.
  context.unread_check_route_m = static_cast<int32_t>(kLongestFuzzedRoute_m);
  const CompileResult result = compile_scenario(context, 1, line_source, service_source);
  // The encoders, the line plan's too, must take whatever the compiler leaves.
  if (model.line_plan.extent_m() > kPlanMetresPerInputByte * static_cast<int64_t>(input.size()) + kPlanMetresAlways)
    model.plan_mode = 0;
  if (result.status != CompileStatus::kCompiled) return result.status;
  // The check the language server makes instead of encoding refuses exactly what the
  // encoders refuse.
  bool encodable = true;
  try {
    check_compiled_files(model);
  } catch (const RuntimeFailure&) {
    encodable = false;
  }
  if (encodable) {
    encode_compiled_files_for_nothing(model);
    return result.status;
  }
  try {
    encode_compiled_files_for_nothing(model);
  } catch (const RuntimeFailure&) {
    return result.status;
  }
  std::abort();
}

}  // namespace scenario::fuzzing
