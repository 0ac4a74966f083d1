#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "decompile/compiled_scenario.hpp"
#include "model/scenario_model.hpp"

namespace scenario::bench {

// What the benchmarks set up before they time.

// An empty folder of this process under the temporary folder, named after `what`.
std::filesystem::path fresh_folder(const std::string& what);

// Two sources compiled in memory into `model`, plan included, as the compile command
// compiles them, under the name Generated_1. False when they do not compile cleanly: a
// compile that records a fault times another path than the one meant.
bool compile_cleanly(ScenarioModel& model, const std::string& line, const std::string& service);

// The three files that the compile command writes for two sources, read back whole.
// Throws std::runtime_error when the sources do not compile cleanly.
CompiledFiles compiled_files(const std::string& line, const std::string& service);

// `cells` cells (15 bytes each in the file) with a slowdown start every ten cells and no end
// after any of them: the case that once made the readers' slowdown search quadratic.
std::vector<TrackCell> slowdown_starts_without_ends(int64_t cells);

// The route length, in metres, of cells that many: the cells run 7000 m past it.
int32_t route_length_of(int64_t cells);

}  // namespace scenario::bench
