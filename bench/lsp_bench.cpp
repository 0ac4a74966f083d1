#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "compiler/compile_entry.hpp"
#include "compiler/source_file.hpp"
#include "driver/diagnostics.hpp"
#include "bench/route_generator.hpp"
#include "lsp/language_server.hpp"
#include "model/windows_1252.hpp"
#include "sources/scenario_texts.hpp"

namespace scenario {
namespace {

std::string message(const nlohmann::json& body) { return body.dump(); }

std::string did_open(const std::string& uri, const std::string& text) {
  return message({{"jsonrpc", "2.0"},
                  {"method", "textDocument/didOpen"},
                  {"params", {{"textDocument", {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", text}}}}}});
}

// Keystrokes in the open document `uri`, each sending the whole text again (full
// synchronisation): two texts a keystroke apart, a blank typed at the end of `text` and
// taken back.
void type_keystrokes(benchmark::State& state, LanguageServer& server, std::ostringstream& out, const std::string& uri,
                     const std::string& text) {
  const std::string texts[] = {text + " ", text};
  int64_t version = 1;
  for (auto _ : state) {
    ++version;
    out.str("");
    server.handle_message(message({{"jsonrpc", "2.0"},
                                   {"method", "textDocument/didChange"},
                                   {"params",
                                    {{"textDocument", {{"uri", uri}, {"version", version}}},
                                     {"contentChanges", nlohmann::json::array({{{"text", texts[version % 2]}}})}}}}));
    benchmark::DoNotOptimize(out.tellp());
  }
}

// A keystroke in the built-in line source, both sources open in the editor: the whole text
// sent again (full synchronisation), the pair compiled in memory, plan included, and the
// diagnostics of both files published.
void BM_KeystrokeToDiagnostics(benchmark::State& state) {
  std::ostringstream out;
  LanguageServer server(out, "file:///reference/source-format.md");
  const std::string folder = "file:///scenario-bench-sources/";
  const std::string line_uri = folder + "Milano_Tortona_linea.txt";
  server.handle_message(message({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", nlohmann::json::object()}}));
  server.handle_message(did_open(folder + "Milano_Tortona_5-.txt", utf8_from_1252(kServiceSourceText)));
  server.handle_message(did_open(line_uri, utf8_from_1252(kLineSourceText)));
  type_keystrokes(state, server, out, line_uri, utf8_from_1252(kLineSourceText));
}
BENCHMARK(BM_KeystrokeToDiagnostics)->Unit(benchmark::kMillisecond);

// The built-in service source with `rows` rows that match no row of their section, each one
// warned of: a source as heavy with diagnostics as an author's first draft may be.
std::string warned_service_source(int64_t rows) {
  std::string text = utf8_from_1252(kServiceSourceText);
  std::string warned;
  for (int64_t i = 0; i < rows; ++i) warned += "segnal,    8600,\r\n";
  text.insert(text.find("[codici]"), warned);
  return text;
}

// A keystroke in a service source of many warned rows, only it open: every diagnostic is
// placed in the editor's text. Its time should stay within twice the command line's for the
// same sources (BM_CommandLineOfManyWarnings).
void BM_KeystrokeOfManyWarnings(benchmark::State& state) {
  std::ostringstream out;
  LanguageServer server(out, "file:///reference/source-format.md");
  const std::string uri = "file:///scenario-bench-sources/Milano_Tortona_5-.txt";
  const std::string text = warned_service_source(state.range(0));
  server.handle_message(message({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", nlohmann::json::object()}}));
  server.handle_message(did_open(uri, text));
  type_keystrokes(state, server, out, uri, text);
}
BENCHMARK(BM_KeystrokeOfManyWarnings)->Arg(5000)->Arg(40000)->Unit(benchmark::kMillisecond);

// The same sources through the command line's compile and its text diagnostics, in memory.
void BM_CommandLineOfManyWarnings(benchmark::State& state) {
  const std::string line = std::string(kLineSourceText);
  const std::string service = utf8_to_1252(warned_service_source(state.range(0)));
  for (auto _ : state) {
    std::ostringstream err;
    {
      Diagnostics diagnostics(err, false);
      ScenarioModel model;
      SourceFile line_file = SourceFile::in_memory("Milano_Tortona_linea.txt", line);
      SourceFile service_file = SourceFile::in_memory("Milano_Tortona_5-.txt", service);
      compile_scenario(model, 1, line_file, service_file, &diagnostics);
    }
    benchmark::DoNotOptimize(err.tellp());
  }
}
BENCHMARK(BM_CommandLineOfManyWarnings)->Arg(5000)->Arg(40000)->Unit(benchmark::kMillisecond);
// The keystroke that is slower than 95 in 100.
double p95(const std::vector<double>& times) {
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  return sorted[static_cast<size_t>(0.95 * static_cast<double>(sorted.size() - 1))];
}

// A server with both sources of the longest route there may be (1 000 km) open, its
// answers written to `out`.
struct LongestRouteServer {
  std::ostringstream out;
  const std::string folder = "file:///scenario-bench-route/";
  const std::string line_uri = folder + "Generated_linea.txt";
  const bench::GeneratedSources route = bench::generate_route(1000000);
  LanguageServer server{out, "file:///reference/source-format.md"};

  LongestRouteServer() {
    server.handle_message(
        message({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", nlohmann::json::object()}}));
    server.handle_message(did_open(folder + "Generated_1-.txt", route.service));
    server.handle_message(did_open(line_uri, route.line));
  }
};

LongestRouteServer& longest_route_server() {
  static LongestRouteServer opened;
  return opened;
}

// The same keystroke in the line source of the longest route, one keystroke a repetition, so
// that the median and the 95th percentile are a keystroke's.
void BM_KeystrokeOnTheLongestRoute(benchmark::State& state) {
  LongestRouteServer& opened = longest_route_server();
  static const std::string texts[] = {opened.route.line + " ", opened.route.line};
  static int64_t version = 1;
  for (auto _ : state) {
    ++version;
    opened.out.str("");
    opened.server.handle_message(message({{"jsonrpc", "2.0"},
                                          {"method", "textDocument/didChange"},
                                          {"params",
                                           {{"textDocument", {{"uri", opened.line_uri}, {"version", version}}},
                                            {"contentChanges", nlohmann::json::array({{{"text", texts[version % 2]}}})}}}}));
    benchmark::DoNotOptimize(opened.out.tellp());
  }
}
BENCHMARK(BM_KeystrokeOnTheLongestRoute)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(60)
    ->ComputeStatistics("p95", p95)
    ->ReportAggregatesOnly(true);

// A hover over the last row of the longest route's line source: the server reads the fields
// of the whole text as the compiler does to know what stands there.
void BM_HoverOnTheLongestRoute(benchmark::State& state) {
  LongestRouteServer& opened = longest_route_server();
  const auto last_line = static_cast<int>(std::count(opened.route.line.begin(), opened.route.line.end(), '\n')) - 2;
  const std::string hover = message({{"jsonrpc", "2.0"},
                                     {"id", 2},
                                     {"method", "textDocument/hover"},
                                     {"params",
                                      {{"textDocument", {{"uri", opened.line_uri}}},
                                       {"position", {{"line", last_line}, {"character", 1}}}}}});
  for (auto _ : state) {
    opened.out.str("");
    opened.server.handle_message(hover);
    benchmark::DoNotOptimize(opened.out.tellp());
  }
}
BENCHMARK(BM_HoverOnTheLongestRoute)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario
