#include "bench/bench_fixtures.hpp"

#include <memory>
#include <stdexcept>
#include <unistd.h>

#include "compiler/compile_entry.hpp"
#include "compiler/source_file.hpp"
#include "format/file_io.hpp"
#include "format/scenario_files.hpp"

namespace scenario::bench {
namespace {

constexpr const char* kName = "Generated";
constexpr const char* kNumber = "1";

}  // namespace

std::filesystem::path fresh_folder(const std::string& what) {
  auto folder = std::filesystem::temp_directory_path() / ("scenario-bench-" + what + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

bool compile_cleanly(ScenarioModel& model, const std::string& line, const std::string& service) {
  model.scenario_name = kName;
  model.scenario_number = kNumber;
  const ScenarioFileNames names = scenario_file_names(kName, kNumber);
  SourceFile line_source = SourceFile::in_memory(names.line_source, line);
  SourceFile service_source = SourceFile::in_memory(names.service_source, service);
  const CompileResult result = compile_scenario(model, 1, line_source, service_source);
  return result.status == CompileStatus::kCompiled && result.last_fault == 0;
}

// Written and read back rather than encoded here, so that the files are the compile
// command's whatever shape the encoders take.
CompiledFiles compiled_files(const std::string& line, const std::string& service) {
  const auto model = std::make_unique<ScenarioModel>();
  if (!compile_cleanly(*model, line, service)) throw std::runtime_error("the sources did not compile cleanly");
  const auto folder = fresh_folder("files");
  write_compiled_files(*model, folder);
  const ScenarioFileNames names = scenario_file_names(kName, kNumber);
  CompiledFiles files{kName, kNumber, read_file(folder / names.track_cells), read_file(folder / names.records),
                      PlanBytes::holding(read_file(folder / names.line_plan))};
  std::filesystem::remove_all(folder);
  return files;
}

std::vector<TrackCell> slowdown_starts_without_ends(int64_t cells) {
  std::vector<TrackCell> track(static_cast<size_t>(cells));
  for (size_t i = 0; i < track.size(); ++i) {
    track[i].speed_limit = 20;
    track[i].gradient = 100;
    if (i % 10 == 5) track[i] = TrackCell{kSlowdownStart, 60};
  }
  return track;
}

int32_t route_length_of(int64_t cells) { return static_cast<int32_t>((cells - 140) * kCellLength_m); }

}  // namespace scenario::bench
