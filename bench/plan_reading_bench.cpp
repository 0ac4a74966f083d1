#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_fixtures.hpp"
#include "bench/route_generator.hpp"
#include "format/line_plan_decoder.hpp"
#include "format/line_plan_reader.hpp"
#include "plot/route_plot.hpp"
#include "reading/compiled_scenario.hpp"
#include "reading/scenario_diff.hpp"
#include "reading/scenario_summary.hpp"

namespace scenario {
namespace {

// The longest route (1 000 km, a 20 MB plan) compiled and read back, once for every benchmark.
const CompiledFiles& longest_route_files() {
  static const CompiledFiles files = [] {
    const bench::GeneratedSources route = bench::generate_route(1000000);
    return bench::compiled_files(route.line, route.service);
  }();
  return files;
}

LoadedScenario loaded(const CompiledFiles& files) {
  std::string plan(files.line_plan->read(0, {}));
  return load_scenario_bytes(files.name, files.number, files.track_cells, files.records, plan);
}

const LoadedScenario& longest_route() {
  static const LoadedScenario scenario = loaded(longest_route_files());
  return scenario;
}

// The plan read element by element, every field through the byte reader: how every reader
// read it before the block decoder, kept for decompile's recovery and for the messages.
void BM_ReadPlanByElements(benchmark::State& state) {
  const PlanBytes& plan = longest_route().plan_bytes;
  for (auto _ : state) {
    double sum = 0;
    for (LinePlanReader reader(plan); !reader.at_end();) sum += reader.next().x.real;
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(plan.size()));
}
BENCHMARK(BM_ReadPlanByElements)->Unit(benchmark::kMillisecond);

// The same plan a block of points at a time, at its fixed stride.
void BM_ReadPlanInBlocks(benchmark::State& state) {
  const PlanBytes& plan = longest_route().plan_bytes;
  std::vector<PlanPoint> block(1024);
  for (auto _ : state) {
    double sum = 0;
    LinePlanDecoder decoder(plan);
    for (size_t n; (n = decoder.next(block)) > 0;)
      for (size_t i = 0; i < n; ++i) sum += block[i].x;
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(plan.size()));
}
BENCHMARK(BM_ReadPlanInBlocks)->Unit(benchmark::kMillisecond);

// The readers of the longest route, its files in memory and loaded (the plan checked) once.
void BM_SummaryOfTheLongestRoute(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(summarise_scenario(longest_route()));
}
BENCHMARK(BM_SummaryOfTheLongestRoute)->Unit(benchmark::kMillisecond);

void BM_PlotOfTheLongestRoute(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(render_route_svg(longest_route()));
}
BENCHMARK(BM_PlotOfTheLongestRoute)->Unit(benchmark::kMillisecond);

// diff with itself (a second copy of the files, so that no comparison is spared by
// sharing), and with a copy whose plan differs in the lowest bit of one coordinate half
// way: its bytes are compared whole, one block of points decoded.
void BM_DiffOfTheLongestRoute(benchmark::State& state) {
  CompiledFiles other = longest_route_files();
  std::string plan(other.line_plan->read(0, {}));
  const size_t half_way = plan_point_offset(500000) + 2;  // past the element's tag
  if (state.range(0) == 1) plan[half_way] = static_cast<char>(plan[half_way] ^ 1);
  other.line_plan = PlanBytes::holding(plan);
  const LoadedScenario b = loaded(other);
  for (auto _ : state) benchmark::DoNotOptimize(diff_scenarios(longest_route(), b));
}
BENCHMARK(BM_DiffOfTheLongestRoute)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario
