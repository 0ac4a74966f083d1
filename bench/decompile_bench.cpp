#include <benchmark/benchmark.h>

#include "bench/bench_fixtures.hpp"
#include "bench/route_generator.hpp"
#include "decompile/decompile.hpp"
#include "decompile/round_trip.hpp"
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

}  // namespace
}  // namespace scenario
