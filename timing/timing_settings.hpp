#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// What the running-time check assumes of the train where the scenario says nothing: the
// compiled files hold the coaches and the braked-mass percentage, not the locomotive. Each
// default and where it comes from is told in docs/running-times.md.
struct TimingSettings {
  // Service braking; none: from the braked-mass percentage (service_braking_mps2).
  std::optional<double> braking_mps2;
  double starting_acceleration_mps2 = 0.35;
  // Above this speed the tractive effort falls as 1/v: the locomotive runs at constant power.
  double constant_power_from_kmh = 80;
  // Running resistance per tonne of train, r0 + r2·v² (v in km/h), in N/t.
  double resistance_n_per_t = 15;
  double resistance_quadratic_n_per_t = 0.0025;
  double dwell_s = 60;
  // The regularity margin added to the fastest run between two timed stops.
  double margin_percent = 4;
  double margin_min_per_100km = 1.5;
  std::optional<double> max_speed_kmh;
  double coach_length_m = 26.4;
  double locomotive_length_m = 19.5;
};

// Service braking from the braked-mass percentage, bounded.
double service_braking_mps2(int braked_mass_percent);

// A setting given by name as the command line and the language server take it
// ("acceleration", "braking", "dwell", "margin", "max-speed"); throws
// std::invalid_argument with the reason when the value does not suit it.
void apply_timing_setting(TimingSettings& settings, std::string_view name, std::string_view value);

// One setting the author may give: its name, the value it takes and what it changes.
struct TimingSettingText {
  std::string_view name;
  std::string_view option;  // on the command line
  std::string_view value_name;
  std::string_view help;
};
inline constexpr TimingSettingText kTimingSettingTexts[] = {
    {"acceleration", "--acceleration", "M/S2", "starting acceleration in m/s² (default 0.35)"},
    {"braking", "--braking", "M/S2", "service braking in m/s² (default: from the braked-mass percentage)"},
    {"dwell", "--dwell", "SECONDS", "least time standing at a stop (default 60)"},
    {"margin", "--margin", "PERCENT[,MIN]", "regularity margin: percent of the run plus minutes per 100 km (default 4,1.5)"},
    {"max-speed", "--max-speed", "KM/H", "the train's highest speed (default: the line speeds alone)"},
};

}  // namespace scenario
