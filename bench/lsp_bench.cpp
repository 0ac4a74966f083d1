#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

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
  // Two texts a keystroke apart: a blank typed at the end and taken back.
  const std::string texts[] = {utf8_from_1252(kLineSourceText) + " ", utf8_from_1252(kLineSourceText)};
  int64_t version = 1;
  for (auto _ : state) {
    ++version;
    out.str("");
    server.handle_message(message({{"jsonrpc", "2.0"},
                                   {"method", "textDocument/didChange"},
                                   {"params",
                                    {{"textDocument", {{"uri", line_uri}, {"version", version}}},
                                     {"contentChanges", nlohmann::json::array({{{"text", texts[version % 2]}}})}}}}));
    benchmark::DoNotOptimize(out.tellp());
  }
}
BENCHMARK(BM_KeystrokeToDiagnostics)->Unit(benchmark::kMillisecond);

// The keystroke that is slower than 95 in 100.
double p95(const std::vector<double>& times) {
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  return sorted[static_cast<size_t>(0.95 * static_cast<double>(sorted.size() - 1))];
}

// The same keystroke in the line source of the longest route there may be (1 000 km), one
// keystroke a repetition, so that the median and the 95th percentile are a keystroke's.
void BM_KeystrokeOnTheLongestRoute(benchmark::State& state) {
  static std::ostringstream out;
  static const std::string folder = "file:///scenario-bench-route/";
  static const bench::GeneratedSources route = bench::generate_route(1000000);
  static const std::unique_ptr<LanguageServer> server = [] {
    auto opened = std::make_unique<LanguageServer>(out, "file:///reference/source-format.md");
    opened->handle_message(
        message({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", nlohmann::json::object()}}));
    opened->handle_message(did_open(folder + "Generated_1-.txt", route.service));
    opened->handle_message(did_open(folder + "Generated_linea.txt", route.line));
    return opened;
  }();
  static const std::string texts[] = {route.line + " ", route.line};
  static int64_t version = 1;
  for (auto _ : state) {
    ++version;
    out.str("");
    server->handle_message(message({{"jsonrpc", "2.0"},
                                   {"method", "textDocument/didChange"},
                                   {"params",
                                    {{"textDocument", {{"uri", folder + "Generated_linea.txt"}, {"version", version}}},
                                     {"contentChanges", nlohmann::json::array({{{"text", texts[version % 2]}}})}}}}));
    benchmark::DoNotOptimize(out.tellp());
  }
}
BENCHMARK(BM_KeystrokeOnTheLongestRoute)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(60)
    ->ComputeStatistics("p95", p95)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace scenario
