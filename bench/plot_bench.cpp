#include <benchmark/benchmark.h>

#include "bench/bench_fixtures.hpp"

#include "plot/route_plot.hpp"
#include "reading/compiled_scenario.hpp"
#include "reading/scenario_summary.hpp"

namespace scenario {
namespace {

// A cell file of slowdown starts without ends, read back.
LoadedScenario slowdowns_without_ends(int64_t cells) {
  LoadedScenario s;
  s.name = "Bench";
  s.number = "1";
  s.cells = bench::slowdown_starts_without_ends(cells);
  s.records[kServiceDataSlot].end_m = bench::route_length_of(cells);
  return s;
}

// The picture of such a file; 320 000 cells is a 4.8 MB file. Time grows with the cells.
void BM_PlotSlowdownsWithoutEnds(benchmark::State& state) {
  const LoadedScenario s = slowdowns_without_ends(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(render_route_svg(s));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PlotSlowdownsWithoutEnds)->Arg(20000)->Arg(80000)->Arg(320000)->Unit(benchmark::kMillisecond)->Complexity();

// The summary of the same file (no code reduction point: the signalling walk, which a
// start without an end makes run to the last cell each time, is not needed).
void BM_SummarySlowdownsWithoutEnds(benchmark::State& state) {
  const LoadedScenario s = slowdowns_without_ends(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(summarise_scenario(s));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SummarySlowdownsWithoutEnds)->Arg(20000)->Arg(80000)->Arg(320000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace scenario
