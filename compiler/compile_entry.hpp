#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "compiler/compile_context.hpp"
#include "compiler/source_file.hpp"
#include "format/file_set.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

enum class CompileStatus {
  kCompiled,      // the model is complete (faults may be recorded) and can be written
  kNoTrackCells,  // the compiler stopped before it had a cell 1: nothing to write
  kHeaderFault,   // a header guard failed (shown fault 1250 or 1251): nothing to write
};

struct CompileResult {
  CompileStatus status = CompileStatus::kCompiled;
  int shown_fault = 0;  // 1250 or 1251 with kHeaderFault
  int last_fault = 0;   // the last fault recorded, 0 when none: the compile found faults
};

// Everything of the compile entry but the files: resets the model, compiles the sources,
// runs the signalling walk and stamps the header. `plan_mode` non-zero computes the plan.
// The context's sink hears every fault and warning; its cell origins stay for a caller that
// keeps the sources.
CompileResult compile_scenario(CompileContext& context, int32_t plan_mode, SourceFile& line_source,
                               SourceFile& service_source);
// The same in a context of its own, which tells `sink` (may be null).
CompileResult compile_scenario(ScenarioModel& model, int32_t plan_mode, SourceFile& line_source,
                               SourceFile& service_source, FaultSink* sink = nullptr);

// Stages the line plan (when plan_mode is non-zero), the records and the track cells in a
// set of files, which the caller commits.
void stage_compiled_files(const ScenarioModel& model, FileSet& files);
// The same, as one set of its own in `folder`, replaced together. Throws FileError.
void write_compiled_files(const ScenarioModel& model, const std::filesystem::path& folder,
                          const SetOptions& options = {});
// One compiled file as it would be written: its name and its bytes.
struct CompiledFileBytes {
  std::string name;
  std::string bytes;
};
// Every compiled file in memory, in the order they are written, for a caller without a
// folder to write into.
std::vector<CompiledFileBytes> compiled_file_bytes(const ScenarioModel& model);
// Every encoder run into a sink that keeps nothing: a model that cannot be written fails
// here as its writing would.
void encode_compiled_files_for_nothing(const ScenarioModel& model);
// The same failure without encoding, for a face that shows diagnostics as an author types
// (the language server, the page): only what can stop an encoder is checked.
void check_compiled_files(const ScenarioModel& model);

// The compile entry: compile_scenario, then the files, staged in `files`, when there is
// something to write.
CompileResult memorizza_percorso(ScenarioModel& model, int32_t j, SourceFile& line_source,
                                 SourceFile& service_source, FileSet& files, FaultSink* sink = nullptr);

}  // namespace scenario
