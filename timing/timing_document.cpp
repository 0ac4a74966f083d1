#include "timing/timing_document.hpp"

#include <cmath>
#include <cstdio>

#include "model/windows_1252.hpp"
#include "reading/diff_change.hpp"

namespace scenario {
namespace {

int64_t whole_seconds_up(double seconds) { return static_cast<int64_t>(std::ceil(seconds - 1e-6)); }

DocumentValue time_value(const std::optional<double>& time_s) {
  if (!time_s) return no_value("");
  return number_value(whole_seconds_up(*time_s), earliest_text(*time_s));
}

DocumentValue duration_value(const std::optional<double>& seconds) {
  if (!seconds) return no_value("");
  return number_value(std::llround(*seconds), duration_text(*seconds));
}

std::string decimal(double value, int decimals) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

DocumentValue decimal_value(double value, int decimals, const std::string& unit) {
  const std::string digits = decimal(value, decimals);
  return {DecimalNumber{digits}, digits + unit};
}

}  // namespace

ReadingDocument timing_document(const RunningTimes& times, const TimingSettings& settings) {
  ReadingDocument document;
  DocumentSection train{"train", {}, "", {}, {}};
  auto& f = train.fields;
  f.push_back({"length_m", decimal_value(times.profile.train_length_m, 1, " m")});
  f.push_back({"braking_mps2", decimal_value(times.train.braking_mps2, 2, " m/s²")});
  f.push_back({"acceleration_mps2", decimal_value(settings.starting_acceleration_mps2, 2, " m/s²")});
  f.push_back({"constant_power_from_kmh", decimal_value(settings.constant_power_from_kmh, 0, " km/h")});
  f.push_back({"max_speed_kmh", settings.max_speed_kmh ? decimal_value(*settings.max_speed_kmh, 0, " km/h")
                                                        : no_value("the line speeds")});
  f.push_back({"dwell_s", decimal_value(settings.dwell_s, 0, " s")});
  f.push_back({"margin_percent", decimal_value(settings.margin_percent, 1, " %")});
  f.push_back({"margin_min_per_100km", decimal_value(settings.margin_min_per_100km, 1, " min per 100 km")});
  document.sections.push_back(std::move(train));

  DocumentSection stations{"stations", {}, "stations", {}, {}};
  for (const StationTiming& station : times.stations) {
    DocumentRow row;
    row.push_back({"name", text_value(utf8_from_1252(station.name))});
    row.push_back({"position_km", kilometre_value(station.reading_m)});
    row.push_back({"position_m", metres_value(station.position_m), true});
    row.push_back({"call", text_value(call_name(station.call))});
    row.push_back({"scheduled_s", station.scheduled_s ? number_value(*station.scheduled_s,
                                                                     timetable_text(*station.scheduled_s))
                                                      : no_value("")});
    row.push_back({"earliest_s", time_value(station.earliest_s)});
    row.push_back({"with_margin_s", time_value(station.with_margin_s)});
    row.push_back({"slack_s", duration_value(station.slack_s())});
    stations.rows.push_back(std::move(row));
  }
  if (!times.timed) stations.notes.push_back("fewer than two stations with a timetable time: no run to check");
  if (times.stall_m)
    stations.notes.push_back("the train stalls on the climb at " + grouped_number(std::llround(*times.stall_m)) +
                             " m: the stations after it cannot be reached");
  for (const StationTiming& station : times.stations) {
    const auto slack = station.slack_s();
    if (slack && *slack < 0)
      stations.notes.push_back(utf8_from_1252(station.name) + " " + timetable_text(*station.scheduled_s) +
                               " cannot be kept: " + duration_text(-*slack) + " short");
  }
  document.sections.push_back(std::move(stations));
  return document;
}

DocumentSection running_times_section(const RunningTimes& times) {
  DocumentSection section{"running_times", {}, "runs", {}, {}};
  std::string from;
  for (const StationTiming& station : times.stations) {
    if (!station.scheduled_s) continue;
    const std::string name = utf8_from_1252(station.name);
    if (station.run_s && station.leg_m) {
      DocumentRow row;
      row.push_back({"from", text_value(from)});
      row.push_back({"to", text_value(name)});
      row.push_back({"length_m", metres_value(std::llround(*station.leg_m))});
      row.push_back({"fastest_s", duration_value(station.run_s)});
      row.push_back({"with_margin_s", duration_value(*station.with_margin_s - *station.earliest_s + *station.run_s)});
      row.push_back({"slack_s", duration_value(station.slack_s())});
      section.rows.push_back(std::move(row));
    }
    from = name;
  }
  if (!times.timed) section.notes.push_back("fewer than two stations with a timetable time");
  if (times.stall_m)
    section.notes.push_back("the train stalls on the climb at " + grouped_number(std::llround(*times.stall_m)) + " m");
  return section;
}

void add_running_time_changes(ReadingDocument& changes, const RunningTimes& before, const RunningTimes& after) {
  for (const StationTiming& a : before.stations) {
    if (!a.run_s) continue;
    for (const StationTiming& b : after.stations) {
      if (b.name != a.name || !b.run_s) continue;
      const int64_t old_s = std::llround(*a.run_s), new_s = std::llround(*b.run_s);
      if (old_s != new_s) {
        const int64_t moved = new_s - old_s;
        add_change(changes, "running times",
                   Change{"running time", "changed", "fastest to " + quoted_1252(a.name),
                          {{"slot", number_value(b.slot)}, {"position_m", metres_value(b.position_m)}},
                          "fastest_run_s", "", number_value(old_s), number_value(new_s), "",
                          (moved > 0 ? "+" : "") + duration_text(static_cast<double>(moved)) + " (" +
                              duration_text(*a.run_s) + kChangeArrow + duration_text(*b.run_s) + ")"});
      }
      break;
    }
  }
}

}  // namespace scenario
