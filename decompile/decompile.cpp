#include "decompile/decompile.hpp"

#include <algorithm>

#include "decompile/curve_recovery.hpp"
#include "decompile/line_source_recovery.hpp"
#include "decompile/round_trip.hpp"
#include "decompile/service_source_recovery.hpp"
#include "decompile/slowdown_recovery.hpp"
#include "format/scenario_files.hpp"
#include "postpass/signalling_walk.hpp"

namespace scenario {
namespace {

// Each round adds the points that the walk did not place; a few settle any route.
constexpr int kCodeReductionRounds = 4;

// The code reductions of the source: the kind 13 cells and the points that the signalling
// walk cannot have placed (another speed), then, round by round, every point that the walk,
// with the source's points standing, does not place by itself. The sources are compiled
// without the plan, which the walk does not look at.
std::vector<CodeReductionRow> source_code_reductions(const CompiledScenario& scenario, const RecoveredSlowdowns& slowdowns,
                                                     const std::string& line) {
  std::vector<CodeReductionRow> all;
  std::vector<bool> chosen;
  for (int64_t c = 0; c <= scenario.last_cell(); ++c) {
    const TrackCell& cell = scenario.cells[static_cast<size_t>(c)];
    if (cell.kind != kCodeReduction && cell.kind != kCodeReductionNonPositive) continue;
    all.push_back({c, cell.kind, cell.value1});
    chosen.push_back(cell.kind == kCodeReductionNonPositive || cell.value1 != kWalkPointSpeed_kmh);
  }
  const auto rows = [&] {
    std::vector<CodeReductionRow> source;
    for (size_t i = 0; i < all.size(); ++i)
      if (chosen[i]) source.push_back(all[i]);
    return source;
  };

  // Nothing to tell apart: no compile needed.
  if (std::all_of(chosen.begin(), chosen.end(), [](bool source) { return source; })) return rows();
  for (int round = 0; round < kCodeReductionRounds; ++round) {
    Remarks ignored;
    const Recompiled walked = compile_in_memory(scenario.texts(), line, recover_service_source(scenario, slowdowns, rows(), ignored), 0);
    if (walked.result.status != CompileStatus::kCompiled) break;
    const ScenarioModel& model = *walked.model;
    bool added = false;
    for (size_t i = 0; i < all.size(); ++i) {
      const CodeReductionRow& code = all[i];
      if (chosen[i]) continue;
      const bool walk_places_it = code.cell <= model.last_cell && model.cell(code.cell).kind == kCodeReduction &&
                                  model.cell(code.cell).value1 == code.value;
      if (!walk_places_it) chosen[i] = added = true;
    }
    if (!added) break;
  }
  return rows();
}

}  // namespace

RecoveredSources decompile(const CompiledFiles& files) {
  const CompiledScenario scenario(files);
  RecoveredSources sources;
  sources.texts = scenario.texts();
  std::vector<CurveRun> curves;
  if (files.line_plan) {
    sources.plan_mode = 1;
    curves = decoded(scenario_file_names(files.name, files.number).line_plan,
                     [&] { return recover_curves(*files.line_plan, sources.remarks); });
  }
  const RecoveredSlowdowns slowdowns = recover_slowdowns(scenario, sources.remarks);
  sources.line = recover_line_source(scenario, curves, slowdowns.exit_cells, sources.remarks);
  sources.service = recover_service_source(scenario, slowdowns, source_code_reductions(scenario, slowdowns, sources.line),
                                           sources.remarks);
  return sources;
}

}  // namespace scenario
