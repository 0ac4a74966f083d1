#include "timing/compile_timing_check.hpp"

#include <cmath>
#include <vector>

#include "compiler/fault_recording.hpp"
#include "model/windows_1252.hpp"
#include "reading/kilometre_readings.hpp"
#include "reading/reading_document.hpp"

namespace scenario {
namespace {

constexpr int kTimeFieldCount = 3;
constexpr size_t kMostCostNotes = 3;
constexpr int32_t kSecondsPerMinute = 60;

std::string slowdown_text(const ProfileSlowdown& slowdown) {
  return "the slowdown at " + grouped_number(static_cast<int64_t>(slowdown.from_m)) + " m to " +
         std::to_string(static_cast<int>(slowdown.speed_kmh)) + " km/h";
}

}  // namespace

std::optional<DiagnosticFix> timetable_time_fix(std::string_view line_text, int column, int32_t time_s) {
  if (column < 1 || static_cast<size_t>(column) > line_text.size() + 1) return std::nullopt;
  const std::string_view rest = line_text.substr(static_cast<size_t>(column - 1));
  // The three fields and the separators between them, as written.
  std::vector<std::string_view> fields;
  size_t at = 0;
  for (int i = 0; i < kTimeFieldCount; ++i) {
    const size_t comma = rest.find(',', at);
    if (comma == std::string_view::npos) return std::nullopt;
    fields.push_back(rest.substr(at, comma - at));
    at = comma + 1;
  }
  std::string_view last = fields.back();
  while (!last.empty() && last.back() == ' ') last.remove_suffix(1);
  fields.back() = last;
  const int32_t values[kTimeFieldCount] = {time_s / 3600, time_s / 60 % 60, time_s % 60};
  DiagnosticFix fix;
  for (int i = 0; i < kTimeFieldCount; ++i) {
    const std::string number = std::to_string(values[i]);
    const size_t width = fields[static_cast<size_t>(i)].size();
    if (i > 0) {
      fix.written += ',';
      fix.replacement += ',';
    }
    fix.written += fields[static_cast<size_t>(i)];
    fix.replacement += std::string(width > number.size() ? width - number.size() : 0, ' ') + number;
  }
  return fix;
}

RunningTimes check_running_times(const CompileContext& context, const TimingSettings& settings) {
  const ScenarioModel& model = context.model;
  if (context.error_code != 0 || !model.cells_dimensioned()) return {};
  RunningTimes times = running_times(model.cells, model.sim_records, settings);
  for (size_t i = 0; i < times.stations.size(); ++i) {
    const StationTiming& station = times.stations[i];
    const auto slack = station.slack_s();
    if (!slack || *slack >= 0) continue;
    const auto place = context.station_time_places.find(station.slot);
    const std::string name = utf8_from_1252(station.name);
    const std::vector<SlowdownCost> costs = slowdown_costs(model.cells, model.sim_records, settings, times, i);
    std::string message = name + " " + timetable_text(*station.scheduled_s) + " cannot be " +
                          (station.call == Station::Call::kArrival ? "reached" : "left") + " before " +
                          earliest_text(*station.with_margin_s) +
                          " at the fastest run the limits allow, with the regularity margin (earliest " +
                          earliest_text(*station.earliest_s);
    if (!costs.empty())
      message += "; " + slowdown_text(costs.front().slowdown) + " costs " + duration_text(costs.front().cost_s);
    message += ")";
    std::vector<DiagnosticNote> notes;
    notes.push_back({"the fastest run from the stop before takes " + duration_text(*station.run_s) + " over " +
                         grouped_number(static_cast<int64_t>(*station.leg_m)) + " m; the margin adds " +
                         duration_text(*station.with_margin_s - *station.earliest_s),
                     std::nullopt});
    for (size_t c = 0; c < costs.size() && c < kMostCostNotes; ++c) {
      const auto origin = context.cell_origins.find(costs[c].slowdown.start_cell);
      notes.push_back({slowdown_text(costs[c].slowdown) + " costs " + duration_text(costs[c].cost_s),
                       origin == context.cell_origins.end() ? std::nullopt
                                                            : std::optional<SourcePlace>(origin->second.row)});
    }
    std::optional<DiagnosticFix> fix;
    std::optional<SourcePlace> at;
    if (place != context.station_time_places.end()) {
      at = place->second;
      const auto minutes = static_cast<int32_t>(std::ceil(*station.with_margin_s / kSecondsPerMinute - 1e-9));
      fix = timetable_time_fix(at->line_text, at->column, minutes * kSecondsPerMinute);
    }
    report_warning(context, Warning::kTimetableTooTight, std::move(message), at, std::move(fix), std::move(notes));
  }
  return times;
}

}  // namespace scenario
