#include <benchmark/benchmark.h>

#include "bench/bench_fixtures.hpp"
#include "bench/route_generator.hpp"
#include "model/sim_record.hpp"
#include "timing/running_times.hpp"

namespace scenario {
namespace {

// A generated route of `length_m` with a timetable time at every station, so that the run
// stops at each of them.
ScenarioModel timed_route(int32_t length_m) {
  ScenarioModel model;
  const bench::GeneratedSources sources = bench::generate_route(length_m);
  bench::compile_cleanly(model, sources.line, sources.service);
  int32_t time_s = 6 * 3600;
  for (int slot = kFirstStationSlot; slot < kFirstBoardTextSlot; ++slot) {
    SimRecord& station = model.record(slot);
    if (station.text.empty()) continue;
    station.time_s = time_s;
    time_s += 600;
  }
  return model;
}

// The running-time check over a route; the goal for 1 000 km is 20 ms and 16 MiB. The
// counter tells what the run holds at its largest: the profile's stretches and the cells.
void BM_RunningTimes(benchmark::State& state) {
  const ScenarioModel model = timed_route(static_cast<int32_t>(state.range(0)));
  size_t stretches = 0;
  for (auto _ : state) {
    const RunningTimes times = running_times(model.cells, model.sim_records, {});
    stretches = times.profile.stretches.size();
    benchmark::DoNotOptimize(times.stations.data());
  }
  state.counters["profile_bytes"] = static_cast<double>(stretches * sizeof(ProfileStretch) * 2);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RunningTimes)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace scenario
