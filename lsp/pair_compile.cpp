#include "lsp/pair_compile.hpp"

#include "compiler/compile_entry.hpp"
#include "compiler/source_encoding.hpp"
#include "compiler/source_file.hpp"
#include "format/file_io.hpp"
#include "model/fault_record.hpp"
#include "model/fault_table.hpp"
#include "timing/compile_timing_check.hpp"

namespace scenario {
namespace {

std::optional<KeptPlace> kept(const std::optional<SourcePlace>& place) {
  if (!place) return std::nullopt;
  return KeptPlace{std::string(place->file), place->line, place->column};
}

KeptDiagnostic kept(const Diagnostic& diagnostic) {
  KeptDiagnostic copy{diagnostic.severity, diagnostic.fault,   diagnostic.warning, diagnostic.message,
                      kept(diagnostic.place), {},              diagnostic.fix};
  for (const DiagnosticNote& note : diagnostic.notes) copy.notes.push_back({note.message, kept(note.place)});
  return copy;
}

// Keeps what the compile tells, while the views in its places are still valid.
class KeepingSink : public FaultSink {
 public:
  void on_fault(const RecordedFault& fault) override { diagnostics.push_back(kept(diagnostic_of_fault(fault))); }
  void on_diagnostic(const Diagnostic& diagnostic) override { diagnostics.push_back(kept(diagnostic)); }

  std::vector<KeptDiagnostic> diagnostics;
};

// An editor's text is taken into Windows-1252 here: a text held in memory is compiled as it
// is given. A character Windows-1252 does not have throws SourceEncodingError at its place.
SourceFile source_file(const PairSource& source) {
  return SourceFile::in_memory(source.name, source.utf8 ? source_from_utf8(source.bytes, source.name) : source.bytes);
}

KeptDiagnostic error(std::string message) {
  return KeptDiagnostic{Severity::kError, std::nullopt, std::nullopt, std::move(message), std::nullopt, {}, std::nullopt};
}

}  // namespace

PairCompileResult compile_pair(const PairSource& line, const PairSource& service, const TimingSettings& timing) {
  ScenarioModel model;
  KeepingSink sink;
  PairCompileResult result;
  try {
    SourceFile line_file = source_file(line);
    SourceFile service_file = source_file(service);
    CompileContext context(model, &sink);
    const CompileResult compiled = compile_scenario(context, 1, line_file, service_file);
    switch (compiled.status) {
      case CompileStatus::kCompiled:
        check_compiled_files(model);
        result.station_times = station_time_hovers(context, check_running_times(context, timing));
        result.readings.emplace(model.sim_records);
        break;
      case CompileStatus::kNoTrackCells:
        sink.diagnostics.push_back(error("nothing compiled: the sources gave no track cells"));
        break;
      case CompileStatus::kHeaderFault:
        sink.diagnostics.push_back(error(" Errore n. " + std::to_string(compiled.shown_fault) + ": " +
                                         std::string(fault_meaning(compiled.shown_fault))));
        break;
    }
  } catch (const SourceEncodingError& e) {
    sink.diagnostics.push_back(kept(e.diagnostic()));
  } catch (const FileError& e) {
    sink.diagnostics.push_back(error(e.what()));
  }
  result.diagnostics = std::move(sink.diagnostics);
  return result;
}

}  // namespace scenario
