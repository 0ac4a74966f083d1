#include <benchmark/benchmark.h>

#include "bench/bench_fixtures.hpp"
#include "decompile/decompile.hpp"
#include "format/compiled_files.hpp"
#include "reading/slowdown_pairing.hpp"

namespace scenario {
namespace {

// The pairing alone over a cell file of slowdown starts without ends; 320 000 cells is a
// 4.8 MB file. One pass: time grows with the cells.
void BM_PairSlowdownsWithoutEnds(benchmark::State& state) {
  const std::vector<TrackCell> cells = bench::slowdown_starts_without_ends(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(pair_slowdowns(cells).slowdowns.data());
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PairSlowdownsWithoutEnds)->Arg(80000)->Arg(160000)->Arg(320000)->Unit(benchmark::kMillisecond)->Complexity();

// The sources recovered from the same file, which once paired each start by a search to
// the end of the cells.
void BM_RecoverSlowdownsWithoutEnds(benchmark::State& state) {
  ScenarioModel model;
  model.cells = bench::slowdown_starts_without_ends(state.range(0));
  model.last_cell = static_cast<int32_t>(model.cells.size()) - 1;
  model.record(kServiceDataSlot).end_m = bench::route_length_of(state.range(0));
  model.record(kScenarioNameSlot).text = "Bench";
  model.record(kScenarioNumberSlot).text = "1";
  CompiledFiles files{"Bench", "1", "", "", std::nullopt};
  encode_track_cells(model, files.track_cells);
  encode_records(model, files.records);
  for (auto _ : state) benchmark::DoNotOptimize(decompile(files).service.data());
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RecoverSlowdownsWithoutEnds)
    ->Arg(80000)
    ->Arg(160000)
    ->Arg(320000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
}  // namespace scenario
