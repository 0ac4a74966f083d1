#include "web/page_compile.hpp"

#include <sstream>

#include "compiler/source_encoding.hpp"
#include "compiler/source_file.hpp"
#include "driver/command_line.hpp"
#include "driver/commands.hpp"
#include "driver/compile_report.hpp"
#include "driver/diagnostics.hpp"
#include "driver/scenario_identity.hpp"
#include "format/scenario_files.hpp"
#include "model/runtime_failure.hpp"

namespace scenario {

// Every line end of an editor's text as CR LF: a lone LF or a lone CR alike.
std::string with_crlf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c == '\n' || c == '\r') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

PageCompile compile_page_sources(const std::string& line_text, const std::string& service_text, const std::string& name,
                                 const std::string& number) {
  PageCompile result;
  const ScenarioFileNames names = scenario_file_names(name, number);
  std::ostringstream json;
  result.status = kExitNothing;
  ScenarioModel model;
  {
    Diagnostics diagnostics(json, false, DiagnosticsFormat::kJson);
    // Checked as the program checks a name and number given to it.
    bool named = true;
    try {
      const ScenarioIdentity identity =
          infer_scenario_identity(names.line_source, names.service_source, name, number);
      model.scenario_name = identity.name_text;
      model.scenario_number = identity.number_text;
    } catch (const UsageError& e) {
      diagnostics.error(e.what());
      named = false;
    }
    // Read as the program reads a source file it was given with --input-encoding utf-8;
    // nothing is on disk at these names, and nothing is read from there.
    SourceFile line = SourceFile::already_read(names.line_source, with_crlf(line_text));
    SourceFile service = SourceFile::already_read(names.service_source, with_crlf(service_text));
    line.read_as_utf8();
    service.read_as_utf8();
    diagnostics.concern_unplaced_with(line.name());
    if (named) {
      result.status = compile_and_report(diagnostics, [&] {
        try {
          line.contents();
          service.contents();
        } catch (const RuntimeFailure&) {
          // An unreadable source is the compile's own fault 25, recorded as it reads it.
        }
        const CompileResult compile = compile_scenario(model, 1, line, service, &diagnostics);
        if (compile.status == CompileStatus::kCompiled && compile.last_fault == 0 && !diagnostics.compile_failed())
          result.files = compiled_file_bytes(model);
        return compile;
      });
    }
    result.faults = diagnostics.faults_recorded();
    result.warnings = diagnostics.warnings();
  }
  result.diagnostics = json.str();
  try {
    result.sources.push_back({names.line_source, source_from_utf8(with_crlf(line_text), names.line_source)});
    result.sources.push_back({names.service_source, source_from_utf8(with_crlf(service_text), names.service_source)});
  } catch (const SourceEncodingError&) {
    result.sources.clear();  // told among the diagnostics already
  }
  return result;
}

}  // namespace scenario
