#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "compiler/compile_context.hpp"
#include "compiler/compile_entry.hpp"
#include "compiler/source_file.hpp"
#include "decompile/compiled_scenario.hpp"
#include "decompile/decompile.hpp"
#include "model/scenario_model.hpp"

namespace scenario {

// Two sources compiled in memory as the compile command compiles them, under the name and
// number of `texts`, with the faults they record in words. The sources stay with the model,
// whose cells name the rows that placed them.
struct Recompiled {
  CompileResult result;
  std::unique_ptr<SourceFile> line;
  std::unique_ptr<SourceFile> service;
  std::unique_ptr<ScenarioModel> model;
  std::unordered_map<int64_t, CellOrigin> cell_origins;  // the rows behind the model's cells
  std::vector<std::string> faults;
};
Recompiled compile_in_memory(const ScenarioTexts& texts, std::string_view line, std::string_view service,
                             int32_t plan_mode);

// The proof of a decompile: the recovered sources compiled and their three files compared
// with the input byte for byte. Each difference is told in words: the cell, record or plan
// metre, the field, what the compiled file holds and what the recovered sources give.
struct RoundTripReport {
  std::vector<std::string> differences;  // the first kListedDifferences
  size_t unlisted = 0;                   // differences found beyond those
  std::vector<std::string> faults;       // the faults and warnings of the recovered sources
  bool exact() const { return differences.empty(); }
};
inline constexpr size_t kListedDifferences = 20;

RoundTripReport check_round_trip(const CompiledFiles& files, const RecoveredSources& sources);

}  // namespace scenario
