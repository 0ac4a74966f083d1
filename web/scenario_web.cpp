// The page's way into the compiler and the readers: every function takes and gives bytes and
// texts, never files. Sources come from the editors as UTF-8 with LF line ends and are
// compiled as the program compiles them once saved with CR LF, given --input-encoding utf-8;
// they are offered for download as Windows-1252.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <optional>
#include <sstream>
#include <string>

#include "compiler/compile_entry.hpp"
#include "compiler/source_encoding.hpp"
#include "compiler/source_file.hpp"
#include "decompile/decompile.hpp"
#include "driver/build_run.hpp"
#include "driver/command_line.hpp"
#include "driver/commands.hpp"
#include "driver/compile_report.hpp"
#include "driver/diagnostics.hpp"
#include "driver/scenario_identity.hpp"
#include "format/file_io.hpp"
#include "format/scenario_files.hpp"
#include "model/runtime_failure.hpp"
#include "model/windows_1252.hpp"
#include "plot/route_plot.hpp"
#include "reading/compiled_scenario.hpp"
#include "reading/scenario_diff.hpp"
#include "reading/scenario_summary.hpp"
#include "sources/scenario_writers.hpp"
#include "web/page_compile.hpp"

namespace scenario {
namespace {

using emscripten::val;

// Bytes as a Uint8Array of their own, which outlives the module's memory.
val byte_array(const std::string& bytes) {
  val view(emscripten::typed_memory_view(bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
  return val::global("Uint8Array").new_(view);
}

val named_bytes(const std::string& name, const std::string& bytes) {
  val file = val::object();
  file.set("name", name);
  file.set("bytes", byte_array(bytes));
  return file;
}

// The summary as the summary command prints it, and the route picture.
void add_readings(val& result, const LoadedScenario& scenario) {
  std::ostringstream summary;
  print_document_text(summarise_scenario(scenario), summary);
  result.set("summary", summary.str());
  result.set("svg", render_route_svg(scenario));
}

std::optional<std::string> plan_of(const val& bytes) {
  if (bytes.isNull() || bytes.isUndefined()) return std::nullopt;
  return bytes.as<std::string>();
}

LoadedScenario loaded(const val& files) {
  return load_scenario_bytes(files["name"].as<std::string>(), files["number"].as<std::string>(),
                             files["trackCells"].as<std::string>(), files["records"].as<std::string>(),
                             plan_of(files["linePlan"]));
}

}  // namespace

// The built-in scenario's two sources as its build writes them, as editor text.
val builtin_sources() {
  ScenarioModel model;
  model.scenario_name = kBuiltinScenarioName;
  model.scenario_number = kBuiltinScenarioNumber;
  const std::vector<ScenarioText> texts = scenario_texts(model);
  val result = val::object();
  result.set("name", std::string(kBuiltinScenarioName));
  result.set("number", std::string(kBuiltinScenarioNumber));
  result.set("line", utf8_from_1252(texts.at(0).bytes));
  result.set("service", utf8_from_1252(texts.at(1).bytes));
  return result;
}

// What an opened file holds, told by its name: "linePlan", "records", "trackCells", or
// "source" for any other file.
std::string opened_file_kind(const std::string& name) {
  const std::optional<CompiledFileKind> kind = compiled_file_kind(name);
  if (!kind) return "source";
  switch (*kind) {
    case CompiledFileKind::kLinePlan:
      return "linePlan";
    case CompiledFileKind::kRecords:
      return "records";
    case CompiledFileKind::kTrackCells:
      return "trackCells";
  }
  return "source";
}

// The compiled scenarios among the names of files opened together, by the naming rule the
// program finds them with in a folder: each with its name, number, the stem of its records
// and track-cell files and whether its plan file is among them.
val compiled_scenarios_among(const val& names) {
  val scenarios = val::array();
  for (const NamedScenario& found :
       scenarios_among(emscripten::vecFromJSArray<std::string>(names), std::nullopt, std::nullopt)) {
    val scenario = val::object();
    scenario.set("name", found.name);
    scenario.set("number", found.number);
    scenario.set("stem", found.stem);
    scenario.set("hasPlan", found.has_plan);
    scenarios.call<void>("push", scenario);
  }
  return scenarios;
}

// The scenario's name and number told by its sources' file names, as the program tells
// them; or the error that says why they cannot be told.
val source_identity(const std::string& line_file, const std::string& service_file) {
  val result = val::object();
  try {
    const ScenarioIdentity identity = infer_scenario_identity(line_file, service_file, std::nullopt, std::nullopt);
    result.set("name", identity.name);
    result.set("number", identity.number);
  } catch (const UsageError& e) {
    result.set("error", std::string(e.what()));
  }
  return result;
}

namespace {

// The last compile's sources and names, and the files of the last build that was clean of
// faults: held here, and copied out only when they are downloaded.
struct HeldBuild {
  ScenarioFileNames names;
  std::string line_text;
  std::string service_text;
  std::vector<CompiledFileBytes> clean_files;
};

HeldBuild& held_build() {
  static HeldBuild build;
  return build;
}

}  // namespace

// Compiles the two sources under the scenario's name and number, as `compile
// --input-encoding utf-8` compiles them once saved. Gives the status the program would exit
// with, the faults and warnings counted, the names of the files that may be downloaded and,
// when the compile is clean of faults, the summary and the route picture; the diagnostics
// themselves are the language server's.
val compile_sources(const std::string& line_text, const std::string& service_text, const std::string& name,
                    const std::string& number) {
  val result = val::object();
  const PageCompile compile = compile_page_sources(line_text, service_text, name, number);
  HeldBuild& held = held_build();
  held.names = scenario_file_names(name, number);
  held.line_text = line_text;
  held.service_text = service_text;
  result.set("status", compile.status);
  result.set("faults", compile.faults);
  result.set("warnings", compile.warnings);
  result.set("lineName", held.names.line_source);
  result.set("serviceName", held.names.service_source);
  val offered = val::array();
  if (compile.status == kExitClean) {
    std::vector<CompiledFileBytes> compiled = compile.files;
    std::optional<std::string> plan;
    if (compiled.size() == 3) plan = compiled[0].bytes;
    add_readings(result, load_scenario_bytes(name, number, compiled.at(compiled.size() - 1).bytes,
                                             compiled.at(compiled.size() - 2).bytes, plan));
    held.clean_files = std::move(compiled);
    for (const CompiledFileBytes& file : held.clean_files) offered.call<void>("push", file.name);
  }
  offered.call<void>("push", held.names.line_source);
  offered.call<void>("push", held.names.service_source);
  result.set("files", offered);
  return result;
}

// One file the last compile offered, by name, as the program writes it: a compiled file of
// the last clean build, or a source in Windows-1252 with CR LF; or the error that says why a
// source cannot be so written.
val offered_file(const std::string& file_name) {
  val result = val::object();
  const HeldBuild& held = held_build();
  try {
    if (file_name == held.names.line_source || file_name == held.names.service_source) {
      const std::string& text = file_name == held.names.line_source ? held.line_text : held.service_text;
      result.set("file", named_bytes(file_name, source_from_utf8(with_crlf(text), file_name)));
      return result;
    }
    for (const CompiledFileBytes& file : held.clean_files)
      if (file.name == file_name) result.set("file", named_bytes(file.name, file.bytes));
  } catch (const SourceEncodingError& e) {
    result.set("error", std::string(e.what()));
  }
  return result;
}

// A source file opened from disk (`size` bytes; `bytes` unread when it is larger than the
// program reads) as editor text, read as the program reads a source: Windows-1252, refused
// when too large or written in UTF-16 or UTF-32. The error says why it is refused.
val opened_source(const std::string& file_name, double size, const std::string& bytes) {
  val result = val::object();
  if (size > static_cast<double>(kMaxSourceBytes)) {
    result.set("error", std::string(FileError(file_name, too_large(kMaxSourceBytes)).what()));
    return result;
  }
  try {
    SourceFile source = SourceFile::already_read(file_name, bytes);
    result.set("text", utf8_from_1252(std::string(source.contents())));
  } catch (const std::exception& e) {
    result.set("error", std::string(e.what()));
  }
  return result;
}

// The most bytes a source may hold, as the program reads one.
double source_byte_limit() { return static_cast<double>(kMaxSourceBytes); }

// Reads compiled files ({name, number, trackCells, records, linePlan}): the summary and the
// route picture, or the error that stopped the reading.
val read_compiled(const val& files) {
  val result = val::object();
  try {
    add_readings(result, loaded(files));
  } catch (const std::exception& e) {
    result.set("error", std::string(e.what()));
  }
  return result;
}

// What changed from one compiled scenario to another, as the diff command prints it ("" when
// they are equal).
val compare_compiled(const val& first, const val& second) {
  val result = val::object();
  try {
    std::ostringstream text;
    print_document_text(diff_scenarios(loaded(first), loaded(second)), text);
    result.set("text", text.str());
  } catch (const std::exception& e) {
    result.set("error", std::string(e.what()));
  }
  return result;
}

// The two sources recovered from compiled files, as editor text, with the name and number
// they compile under and what could not be written back.
val decompile_compiled(const val& files) {
  val result = val::object();
  try {
    CompiledFiles compiled{files["name"].as<std::string>(), files["number"].as<std::string>(),
                           files["trackCells"].as<std::string>(), files["records"].as<std::string>(), std::nullopt};
    const std::optional<std::string> plan = plan_of(files["linePlan"]);
    if (plan) compiled.line_plan = PlanBytes(*plan);
    const RecoveredSources sources = decompile(compiled);
    result.set("line", utf8_from_1252(sources.line));
    result.set("service", utf8_from_1252(sources.service));
    result.set("name", utf8_from_1252(sources.texts.name));
    result.set("number", utf8_from_1252(sources.texts.number));
    val remarks = val::array();
    for (const std::string& remark : sources.remarks) remarks.call<void>("push", remark);
    result.set("remarks", remarks);
  } catch (const std::exception& e) {
    result.set("error", std::string(e.what()));
  }
  return result;
}

EMSCRIPTEN_BINDINGS(scenario_web) {
  emscripten::function("builtinSources", &builtin_sources);
  emscripten::function("openedSource", &opened_source);
  emscripten::function("sourceByteLimit", &source_byte_limit);
  emscripten::function("offeredFile", &offered_file);
  emscripten::function("openedFileKind", &opened_file_kind);
  emscripten::function("compiledScenariosAmong", &compiled_scenarios_among);
  emscripten::function("sourceIdentity", &source_identity);
  emscripten::function("compileSources", &compile_sources);
  emscripten::function("readCompiled", &read_compiled);
  emscripten::function("compareCompiled", &compare_compiled);
  emscripten::function("decompileCompiled", &decompile_compiled);
}

}  // namespace scenario
