#include "lsp/timing_hover.hpp"

#include "model/windows_1252.hpp"
#include "timing/compile_timing_check.hpp"

namespace scenario {

std::vector<StationTimeHover> station_time_hovers(const CompileContext& context, const RunningTimes& times) {
  std::vector<StationTimeHover> hovers;
  for (const StationTiming& station : times.stations) {
    const auto place = context.station_time_places.find(station.slot);
    if (place == context.station_time_places.end() || !station.earliest_s) continue;
    const SourcePlace& at = place->second;
    const auto fields = timetable_time_fix(at.line_text, at.column, 0);
    std::string text = "**" + utf8_from_1252(station.name) + "**: ";
    if (station.scheduled_s) {
      text += "timetable " + timetable_text(*station.scheduled_s) + ", earliest " + earliest_text(*station.earliest_s);
      if (station.with_margin_s) text += ", with the margin " + earliest_text(*station.with_margin_s);
      if (const auto slack = station.slack_s()) text += ", slack " + duration_text(*slack);
    } else {
      text += "passed at the earliest at " + earliest_text(*station.earliest_s);
    }
    text += " (the fastest run the limits allow)";
    const int width = fields ? static_cast<int>(fields->written.size()) : 1;
    hovers.push_back({std::string(at.file), at.line, at.column, at.column + width - 1, std::move(text)});
  }
  return hovers;
}

nlohmann::json station_time_hover_at(const std::vector<StationTimeHover>& hovers, const std::string& file, int line,
                                     int character) {
  for (const StationTimeHover& hover : hovers) {
    if (hover.file != file || hover.line != line + 1) continue;
    if (character + 1 < hover.first_column || character + 1 > hover.last_column) continue;
    return {{"contents", {{"kind", "markdown"}, {"value", hover.text}}}};
  }
  return nullptr;
}

TimingSettings timing_settings_of(const nlohmann::json& initialization_options) {
  TimingSettings settings;
  if (!initialization_options.is_object() || !initialization_options.contains("timing")) return settings;
  const nlohmann::json& timing = initialization_options.at("timing");
  if (!timing.is_object()) throw std::invalid_argument("the timing settings are an object");
  for (const auto& [name, value] : timing.items())
    apply_timing_setting(settings, name, value.is_string() ? value.get<std::string>() : value.dump());
  return settings;
}

}  // namespace scenario
