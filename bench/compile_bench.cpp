#include <benchmark/benchmark.h>

#include <filesystem>
#include <initializer_list>
#include <sstream>

#include "bench/bench_fixtures.hpp"
#include "bench/route_generator.hpp"
#include "compiler/compile_entry.hpp"
#include "driver/build_run.hpp"
#include "driver/commands.hpp"
#include "format/compiled_files.hpp"
#include "format/file_io.hpp"

namespace scenario {
namespace {

using bench::compile_cleanly;
using bench::fresh_folder;

// The whole built-in build in process: writers, compile, post-pass and the files.
void BM_BuiltinBuild(benchmark::State& state) {
  const auto folder = fresh_folder("builtin");
  std::ostringstream progress;
  for (auto _ : state) {
    ScenarioModel model;
    benchmark::DoNotOptimize(run_builtin_build(model, folder, progress));
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_BuiltinBuild)->Unit(benchmark::kMillisecond);

// The route lengths timed, for an O(N) fit over them.
void route_lengths(benchmark::internal::Benchmark* b) {
  for (const int64_t metres : {125000, 250000, 500000, 1000000}) b->Arg(metres);
  b->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

// A generated route of `metres` compiled into `model`, as a benchmark sets up before it
// times; false, with the benchmark told, when it does not compile cleanly.
bool compiled_route(benchmark::State& state, int32_t metres, ScenarioModel& model) {
  const auto sources = bench::generate_route(metres);
  if (compile_cleanly(model, sources.line, sources.service)) return true;
  state.SkipWithError("the generated route did not compile cleanly");
  return false;
}

// A generated route of the given length, compiled and written; the lengths show that time
// grows linearly with the route.
void BM_GeneratedRoute(benchmark::State& state) {
  const auto sources = bench::generate_route(static_cast<int32_t>(state.range(0)));
  const auto folder = fresh_folder("route");
  for (auto _ : state) {
    ScenarioModel model;
    if (!compile_cleanly(model, sources.line, sources.service)) {
      state.SkipWithError("the generated route did not compile cleanly");
      break;
    }
    write_compiled_files(model, folder);
  }
  state.SetComplexityN(state.range(0));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GeneratedRoute)->Apply(route_lengths);

// The plan of a 1000 km route made and encoded into a sink that discards: the points are a
// chain, each made from the two before it, so this is the part of a compile that no copy of
// its files pays.
void BM_EncodeLinePlan(benchmark::State& state) {
  ScenarioModel model;
  if (!compiled_route(state, 1000000, model)) return;
  for (auto _ : state) {
    ByteSink nowhere([](uint64_t, std::string_view bytes) { benchmark::DoNotOptimize(bytes.data()); });
    encode_line_plan(model.line_plan, nowhere);
    nowhere.flush();
  }
  state.counters["metres"] = static_cast<double>(model.line_plan.computed_end());
}
BENCHMARK(BM_EncodeLinePlan)->Unit(benchmark::kMillisecond);

// The same routes with every row of the service source on one physical line (some 40 kB
// for 1000 km): a row's place in its source is found without rescanning the line, so the
// time still grows linearly with the route.
void BM_RowsOnOneLine(benchmark::State& state) {
  const auto sources = bench::generate_route(static_cast<int32_t>(state.range(0)));
  std::string one_line = sources.service;
  for (size_t at = 0; (at = one_line.find("\r\n", at)) != std::string::npos;) one_line.replace(at, 2, ",");
  state.counters["line_bytes"] = static_cast<double>(one_line.size());
  for (auto _ : state) {
    ScenarioModel model;
    if (!compile_cleanly(model, sources.line, one_line)) {
      state.SkipWithError("the route on one line did not compile cleanly");
      break;
    }
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RowsOnOneLine)->Apply(route_lengths);

// inspect --all on a track-cell file of the given number of cells (up to 15 MB), the cells
// of a generated route over and over: the listing is built and printed (to nowhere) in
// time linear with the file.
void BM_InspectTrackCells(benchmark::State& state) {
  ScenarioModel route;
  if (!compiled_route(state, 250000, route)) return;
  ScenarioModel large;
  for (size_t i = 0; large.cells.size() < static_cast<size_t>(state.range(0)); ++i)
    large.cells.push_back(route.cells[i % route.cells.size()]);
  std::string bytes;
  encode_track_cells(large, bytes);
  const auto folder = fresh_folder("inspect");
  InspectCommand command;
  command.file = folder / "Large_1.dat";
  command.all = true;
  replace_file(command.file, bytes);
  std::ostringstream nowhere;
  for (auto _ : state) {
    nowhere.str("");
    Console console{nowhere, nowhere};
    if (run_inspect_command(command, console) != 0) {
      state.SkipWithError("inspect failed");
      break;
    }
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
  state.SetComplexityN(state.range(0));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_InspectTrackCells)
    ->Arg(125000)
    ->Arg(250000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace scenario
