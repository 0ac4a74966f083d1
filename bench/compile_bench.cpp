#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "bench/route_generator.hpp"
#include "compiler/source_file.hpp"
#include "driver/build_run.hpp"
#include "compiler/compile_entry.hpp"

namespace scenario {
namespace {

std::filesystem::path fresh_folder(const char* what) {
  auto folder = std::filesystem::temp_directory_path() / (std::string("scenario-bench-") + what + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

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

// A generated route of the given length, compiled and written; the lengths show that time
// grows linearly with the route.
void BM_GeneratedRoute(benchmark::State& state) {
  const auto sources = bench::generate_route(static_cast<int32_t>(state.range(0)));
  const auto folder = fresh_folder("route");
  for (auto _ : state) {
    ScenarioModel model;
    model.scenario_name = "Generated";
    model.scenario_number = "1";
    SourceFile line = SourceFile::in_memory("Generated_linea.txt", sources.line);
    SourceFile service = SourceFile::in_memory("Generated_1-.txt", sources.service);
    const CompileResult result = compile_scenario(model, 1, line, service);
    if (result.status != CompileStatus::kCompiled || model.error_code != 0) {
      state.SkipWithError("the generated route did not compile cleanly");
      break;
    }
    write_compiled_files(model, folder);
  }
  state.SetComplexityN(state.range(0));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GeneratedRoute)
    ->Arg(125000)
    ->Arg(250000)
    ->Arg(500000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace scenario
