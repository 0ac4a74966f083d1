#include <benchmark/benchmark.h>

#include "plot/route_plot.hpp"
#include "reading/compiled_scenario.hpp"
#include "reading/scenario_summary.hpp"

namespace scenario {
namespace {

// A cell file of `cells` cells (15 bytes each) with a slowdown start every ten cells and
// no end after any of them: the case that once made the plot search quadratic.
LoadedScenario slowdowns_without_ends(int64_t cells) {
  LoadedScenario s;
  s.name = "Bench";
  s.number = "1";
  s.cells.resize(static_cast<size_t>(cells));
  for (size_t i = 0; i < s.cells.size(); ++i) {
    s.cells[i].speed_limit = 20;
    s.cells[i].gradient = 100;
    if (i % 10 == 5) s.cells[i] = TrackCell{kSlowdownStart, 60};
  }
  s.records[kServiceDataSlot].end_m = static_cast<int32_t>((cells - 140) * 50);
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
