#include "decompile/decompile.hpp"

#include <algorithm>

#include "decompile/curve_recovery.hpp"
#include "decompile/exit_remains.hpp"
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

// The cells with the walk run over them, the points of `all` taken away but those `kept`.
std::vector<TrackCell> walked_cells(const CompiledScenario& scenario, const std::vector<CodeReductionRow>& all,
                                    const std::vector<bool>& kept) {
  ScenarioModel model;
  model.cells = scenario.cells;
  model.last_cell = static_cast<int32_t>(scenario.last_cell());
  for (size_t i = 0; i < all.size(); ++i) {
    if (kept[i]) continue;
    TrackCell& cell = model.cells[static_cast<size_t>(all[i].cell)];
    cell.kind = kFreeCell;
    cell.value1 = 0;
  }
  run_signalling_walk(model);
  return std::move(model.cells);
}

// Whether the walk, with the points `kept` standing as the source's, leaves every cell up to
// `last` as the file holds it.
bool walk_gives_the_points(const CompiledScenario& scenario, const std::vector<CodeReductionRow>& all,
                           const std::vector<bool>& kept, int64_t last) {
  const std::vector<TrackCell> walked = walked_cells(scenario, all, kept);
  for (int64_t c = 0; c <= last; ++c) {
    const TrackCell& a = walked[static_cast<size_t>(c)];
    const TrackCell& b = scenario.cells[static_cast<size_t>(c)];
    if (a.kind != b.kind || a.value1 != b.value1) return false;
  }
  return true;
}

// A source point of the walk's speed in a slow slowdown's run of repeat points moves the
// walk's count on, and the rounds may then take the walk's points for the source's. Then
// the points are settled in running order instead: each one is the walk's when, with it
// taken away and every later one either standing or taken away too, the walk still leaves
// the cells up to it as the file holds them. Two walks a point: only where the rounds fail.
void settle_points_in_running_order(const CompiledScenario& scenario, const std::vector<CodeReductionRow>& all,
                                    std::vector<bool>& chosen) {
  std::vector<bool> kept(all.size());
  for (size_t i = 0; i < all.size(); ++i) kept[i] = all[i].kind != kCodeReduction || all[i].value != kWalkPointSpeed_kmh;
  for (size_t i = 0; i < all.size(); ++i) {
    if (kept[i]) continue;
    // Taken away, with the later points standing or taken away too.
    std::vector<bool> later_standing = kept;
    std::fill(later_standing.begin() + static_cast<std::ptrdiff_t>(i) + 1, later_standing.end(), true);
    if (!walk_gives_the_points(scenario, all, later_standing, all[i].cell) &&
        !walk_gives_the_points(scenario, all, kept, all[i].cell))
      kept[i] = true;
  }
  if (walk_gives_the_points(scenario, all, kept, scenario.last_cell())) chosen = kept;
}

// The code reductions of the source: the kind 13 cells and the points that the signalling
// walk cannot have placed (another speed), then, round by round, every point that the walk,
// with the source's points standing, does not place by itself. The sources are compiled
// without the plan, which the walk does not look at.
std::vector<CodeReductionRow> source_code_reductions(const CompiledScenario& scenario, const RecoveredSlowdowns& slowdowns,
                                                     const std::set<int64_t>& signals_under_exit,
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
    const Recompiled walked = compile_in_memory(scenario.texts(), line, recover_service_source(scenario, slowdowns, signals_under_exit, rows(), ignored), 0);
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
  if (!walk_gives_the_points(scenario, all, chosen, scenario.last_cell()))
    settle_points_in_running_order(scenario, all, chosen);
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
  const std::set<int64_t> signals_under_exit = signals_under_exits(scenario, slowdowns.exit_cells);
  std::set<int64_t> taken_exit_cells = signals_under_exit;
  taken_exit_cells.insert(slowdowns.exit_cells.begin(), slowdowns.exit_cells.end());
  sources.line = recover_line_source(scenario, curves, taken_exit_cells, sources.remarks);
  sources.service = recover_service_source(
      scenario, slowdowns, signals_under_exit,
      source_code_reductions(scenario, slowdowns, signals_under_exit, sources.line), sources.remarks);
  return sources;
}

}  // namespace scenario
