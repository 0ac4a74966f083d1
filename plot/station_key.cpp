#include "plot/station_key.hpp"

#include <string>

#include "plot/svg_text.hpp"

namespace scenario {

double StationKey::draw(SvgCanvas& svg, double left, double width, double baseline) const {
  constexpr double kLineStep = 16;
  const TextStyle style{.attributes = "class=\"station-key\" fill=\"#555\""};
  std::string line = "stations by number:";
  for (const auto& [slot, record] : slots_) {
    const std::string number = std::to_string(slot) + " ";
    const std::string item = number + elided_xml(record->text, width - text_advance(number + ",", style.size), style.size);
    const std::string longer = line + (line.ends_with(':') ? " " : ", ") + item;
    if (text_advance(longer + ",", style.size) <= width) {
      line = longer;
      continue;
    }
    svg.text(left, baseline, line + (line.ends_with(':') ? "" : ","), style);
    baseline += kLineStep;
    line = item;
  }
  svg.text(left, baseline, line, style);
  return baseline + kLineStep;
}

}  // namespace scenario
