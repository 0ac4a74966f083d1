#pragma once

// One fuzz input read the way inspect and plot read compiled files: a track-cell file, a
// records file and a line plan, each behind a 32-bit little-endian byte count (the last
// part takes what is left). Each part is decoded, the plan also walked metre by metre,
// and the route drawn and compared, as diff compares, with nothing and with its cells
// shifted by one when its cells and records decode. Shared by the fuzzer and the
// regression test that replays the corpus.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <string_view>
#include <utility>

#include "format/compiled_files_decoder.hpp"
#include "format/line_plan_decoder.hpp"
#include "format/line_plan_reader.hpp"
#include "plot/route_plot.hpp"
#include "reading/compiled_scenario.hpp"
#include "reading/scenario_diff.hpp"

namespace scenario::fuzzing {

inline std::string_view take_part(std::string_view& input) {
  if (input.size() < 4) return std::exchange(input, std::string_view());
  uint32_t size = 0;
  for (size_t i = 0; i < 4; ++i) size |= uint32_t{static_cast<unsigned char>(input[i])} << (8 * i);
  input.remove_prefix(4);
  const std::string_view part = input.substr(0, std::min<size_t>(size, input.size()));
  input.remove_prefix(part.size());
  return part;
}

inline void decode_fuzz_input(std::string_view input) {
  const std::string_view cells = take_part(input);
  const std::string_view records = take_part(input);
  const std::string_view plan = input;

  LoadedScenario scenario;
  scenario.name = "Fuzz";
  scenario.number = "1";
  bool drawable = true;
  try {
    scenario.cells = decode_track_cells(cells);
    scenario.records = decode_records(records);
  } catch (const DecodeError&) {
    drawable = false;
  }
  try {
    const int64_t points = decode_line_plan(plan).computed_points();
    scenario.plan_bytes = plan;
    scenario.has_plan = true;
    scenario.plan_points = points;
  } catch (const DecodeError&) {
  }
  // The block decoder reads the same points as the element reader, and refuses the same
  // files with the same message.
  std::vector<PlanPoint> points;
  std::string refusal;
  try {
    for (LinePlanReader reader(plan); !reader.at_end();) {
      const LinePlanReader::Metre m = reader.next();
      if (m.x.tag == PlanElement::kInt16)
        points.push_back({static_cast<double>(m.x.integer), static_cast<double>(m.y.integer)});
      else if (m.x.tag == PlanElement::kDouble)
        points.push_back({m.x.real, m.y.real});
    }
  } catch (const DecodeError& e) {
    refusal = e.what();
  }
  try {
    LinePlanDecoder decoder(plan);
    PlanPoint block[7];  // a block size that no stride divides
    size_t at = 0;
    for (size_t n; (n = decoder.next(block)) > 0; at += n)
      for (size_t i = 0; i < n; ++i)
        if (at + i >= points.size() || std::memcmp(&block[i], &points[at + i], sizeof(PlanPoint)) != 0) std::abort();
    if (!refusal.empty() || at != points.size()) std::abort();
  } catch (const DecodeError& e) {
    if (refusal != e.what()) std::abort();
  }
  if (!drawable) return;
  render_route_svg(scenario);
  LoadedScenario shifted = scenario;
  shifted.has_plan = false;
  if (!shifted.cells.empty()) shifted.cells.erase(shifted.cells.begin());
  diff_scenarios(LoadedScenario{}, scenario);
  diff_scenarios(scenario, shifted);
}

}  // namespace scenario::fuzzing
