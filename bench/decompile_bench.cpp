#include <benchmark/benchmark.h>

#include "bench/bench_fixtures.hpp"
#include "bench/route_generator.hpp"
#include "decompile/decompile.hpp"
#include "decompile/round_trip.hpp"
#include "format/compiled_layouts.hpp"
#include "sources/line_table.hpp"
#include "sources/scenario_texts.hpp"

namespace scenario {
namespace {

using bench::compiled_files;

CompiledFiles builtin_files() {
  return compiled_files(line_table_bytes(line_table_from_text(kLineSourceText)),
                  line_table_bytes(line_table_from_text(kServiceSourceText)));
}

CompiledFiles route_files(int64_t length_m) {
  const bench::GeneratedSources sources = bench::generate_route(static_cast<int32_t>(length_m));
  return compiled_files(sources.line, sources.service);
}

// What the decompile command does in memory: the sources recovered, then compiled back and
// compared with the files.
void decompile_and_verify(benchmark::State& state, const CompiledFiles& files) {
  for (auto _ : state) {
    const RecoveredSources sources = decompile(files);
    const RoundTripReport report = check_round_trip(files, sources);
    if (!report.exact()) {
      state.SkipWithError("the round trip is not exact");
      break;
    }
    benchmark::DoNotOptimize(sources.line.data());
  }
}

void BM_DecompileBuiltin(benchmark::State& state) { decompile_and_verify(state, builtin_files()); }
BENCHMARK(BM_DecompileBuiltin)->Unit(benchmark::kMillisecond);

// Generated routes; the goal is well under a second for 1000 km.
void BM_DecompileRoute(benchmark::State& state) {
  decompile_and_verify(state, route_files(state.range(0)));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DecompileRoute)->Arg(250000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The recovery alone, without the proof.
void BM_DecompileRouteWithoutVerify(benchmark::State& state) {
  const CompiledFiles files = route_files(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(decompile(files).line.data());
}
BENCHMARK(BM_DecompileRouteWithoutVerify)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The built-in scenario's records over a cell file of `cells` cells holding a slowdown
// start every `every` cells and no end after any of them: free cells and one start of the
// built-in cells, repeated (80 000 cells is a 1.2 MB file).
CompiledFiles slowdowns_without_ends(size_t cells, size_t every) {
  CompiledFiles files = builtin_files();
  const std::string_view built_in = files.track_cells;
  std::string_view free_cell, start_cell;
  for (size_t at = 0; at + kTrackCellBytes <= built_in.size(); at += kTrackCellBytes) {
    const std::string_view cell = built_in.substr(at, kTrackCellBytes);
    if (static_cast<uint8_t>(cell[0]) == kFreeCell && free_cell.empty()) free_cell = cell;
    if (static_cast<uint8_t>(cell[0]) == kSlowdownStart && start_cell.empty()) start_cell = cell;
  }
  std::string dense;
  for (size_t i = 0; i < cells; ++i) dense += i % every == every / 2 ? start_cell : free_cell;
  files.track_cells = std::move(dense);
  return files;
}

// Decompiled and proven: the recovery pairs each start with its end, and the proof tells
// every cell that differs in words. Time and memory should grow with the cells, linearly,
// with a start every ten cells as with one in every cell (the goal: 80 000 in a second).
void BM_DecompileSlowdownsWithoutEnds(benchmark::State& state) {
  const CompiledFiles files =
      slowdowns_without_ends(static_cast<size_t>(state.range(0)), static_cast<size_t>(state.range(1)));
  for (auto _ : state) {
    const RecoveredSources sources = decompile(files);
    benchmark::DoNotOptimize(check_round_trip(files, sources).differences.size());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DecompileSlowdownsWithoutEnds)
    ->Args({20000, 10})
    ->Args({40000, 10})
    ->Args({80000, 10})
    ->Args({8000, 1})
    ->Args({32000, 1})
    ->Args({80000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario
