#include "timing/timing_settings.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace scenario {
namespace {

// A train braked at 100 % of its mass decelerates about 1 m/s² in an emergency; service
// braking is held to about half of that, and no timetable counts on more or less than these.
constexpr double kServiceBrakingPer100Percent_mps2 = 0.5;
constexpr double kLeastServiceBraking_mps2 = 0.3;
constexpr double kMostServiceBraking_mps2 = 0.7;

double number_of(std::string_view name, std::string_view text, double least, double most) {
  // A plain decimal number only (digits, a sign, a point, an exponent): strtod would also take
  // spaces, hexadecimal and "inf". Read through strtod because the page's standard library
  // has no from_chars for doubles.
  const bool plain = !text.empty() && text.find_first_not_of("0123456789+-.eE") == std::string_view::npos;
  const std::string digits(text);
  char* end = nullptr;
  const double value = plain ? std::strtod(digits.c_str(), &end) : 0;
  if (!plain || end != digits.c_str() + digits.size() || !std::isfinite(value) || value < least || value > most)
    throw std::invalid_argument(std::string(name) + " takes a number from " + std::to_string(static_cast<int>(least)) +
                                " to " + std::to_string(static_cast<int>(most)) + ", not '" + std::string(text) + "'");
  return value;
}

}  // namespace

double service_braking_mps2(int braked_mass_percent) {
  return std::clamp(kServiceBrakingPer100Percent_mps2 * braked_mass_percent / 100.0, kLeastServiceBraking_mps2,
                    kMostServiceBraking_mps2);
}

void apply_timing_setting(TimingSettings& settings, std::string_view name, std::string_view value) {
  if (name == "acceleration") {
    settings.starting_acceleration_mps2 = number_of(name, value, 0.01, 5);
  } else if (name == "braking") {
    settings.braking_mps2 = number_of(name, value, 0.05, 5);
  } else if (name == "dwell") {
    settings.dwell_s = number_of(name, value, 0, 3600);
  } else if (name == "margin") {
    const size_t comma = value.find(',');
    settings.margin_percent = number_of(name, value.substr(0, comma), 0, 100);
    if (comma != std::string_view::npos) settings.margin_min_per_100km = number_of(name, value.substr(comma + 1), 0, 60);
  } else if (name == "max-speed") {
    settings.max_speed_kmh = number_of(name, value, 5, 1000);
  } else {
    throw std::invalid_argument("no running-time setting named '" + std::string(name) + "'");
  }
}

}  // namespace scenario
