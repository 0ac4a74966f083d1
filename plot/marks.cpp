#include "plot/marks.hpp"

#include <iterator>

namespace scenario {
namespace {

constexpr MarkKind kKinds[] = {
    {Mark::kTrack, "track", "track (plan)", ".track{fill:none;stroke:#1f4e9c;stroke-width:2}",
     "<line x1=\"0\" y1=\"-6\" x2=\"18\" y2=\"-6\"/>"},
    {Mark::kStation, "station", "station (plan, profile)",
     "circle.station{fill:white;stroke:black}line.station{stroke:#555;stroke-dasharray:3,3}",
     "<circle cx=\"5\" cy=\"-5\" r=\"4\"/><line x1=\"14\" y1=\"-12\" x2=\"14\" y2=\"2\"/>"},
    {Mark::kSignal, "signal", "signal (plan, profile)", "circle.signal{fill:#c0392b}line.signal{stroke:#c0392b}",
     "<circle cx=\"5\" cy=\"-5\" r=\"3\"/><line x1=\"14\" y1=\"0\" x2=\"14\" y2=\"-8\"/>"},
    {Mark::kLineSpeed, "speed", "line speed limit", ".speed{fill:none;stroke:#27ae60;stroke-width:1.5}",
     "<path d=\"M0 -3 H9 V-9 H18\"/>"},
    {Mark::kSpeedBoard, "speed-board", "speed-limit board", ".speed-board{fill:#27ae60;stroke:black;stroke-width:0.5}",
     "<rect x=\"6\" y=\"-8\" width=\"6\" height=\"6\"/>"},
    {Mark::kIndicatorBoard, "indicator-board", "indicator board", ".indicator-board{fill:#2980b9}",
     "<path d=\"M9 -10 L13 -6 L9 -2 L5 -6 Z\"/>"},
    {Mark::kSlowdown, "slowdown", "slowdown", ".slowdown{fill:#f39c12;fill-opacity:0.35}",
     "<rect x=\"0\" y=\"-12\" width=\"18\" height=\"12\"/>"},
    {Mark::kCodeReduction, "code-reduction", "code reduction", ".code-reduction{fill:#8e44ad}",
     "<path d=\"M5 -10 L13 -10 L9 -4 Z\"/>"},
    {Mark::kGradient, "gradient", "gradient", ".gradient{fill:none;stroke:#7f8c8d;stroke-width:1.5}",
     "<path d=\"M0 -9 H9 V-3 H18\"/>"},
    {Mark::kMountain, "mountain", "mountain stretch", ".mountain{fill:#a0522d;fill-opacity:0.3}",
     "<rect x=\"0\" y=\"-12\" width=\"18\" height=\"12\"/>"},
    {Mark::kCurve, "curve", "curve (right up, left down)", ".curve{fill:#16a085}",
     "<rect x=\"0\" y=\"-10\" width=\"18\" height=\"5\"/>"},
    {Mark::kKilometrePostChange, "kilometre-post-change", "kilometre-post change (its new reading)",
     ".kilometre-post-change{stroke:#c0392b;stroke-width:2}", "<line x1=\"9\" y1=\"-12\" x2=\"9\" y2=\"2\"/>"},
    {Mark::kFastestRun, "fastest-run", "fastest run (at a stop: timetable and earliest time)",
     ".fastest-run{fill:none;stroke:#2c3e50;stroke-width:1;stroke-dasharray:3 2}circle.fastest-run{fill:#2c3e50}",
     "<path d=\"M0 -2 Q9 -14 18 -8\"/>"},
};

// mark_kind() finds a kind by its place in the table.
constexpr bool in_enum_order() {
  for (size_t i = 0; i < std::size(kKinds); ++i)
    if (static_cast<size_t>(kKinds[i].mark) != i) return false;
  return true;
}
static_assert(in_enum_order());

}  // namespace

std::span<const MarkKind> mark_kinds() { return kKinds; }

const MarkKind& mark_kind(Mark mark) { return kKinds[static_cast<size_t>(mark)]; }

std::string class_attribute(Mark mark) { return "class=\"" + std::string(mark_kind(mark).css_class) + "\""; }

std::string mark_style_sheet() {
  std::string sheet = "<style>";
  for (const MarkKind& kind : kKinds) sheet += kind.css;
  return sheet + "</style>";
}

std::string mark_swatch(Mark mark) {
  const std::string attribute = " " + class_attribute(mark);
  std::string swatch(mark_kind(mark).swatch);
  // Each element's class goes right after its tag name.
  for (size_t at = swatch.find('<'); at != std::string::npos; at = swatch.find('<', at + 1)) {
    const size_t name_end = swatch.find_first_of(" />", at + 1);
    swatch.insert(name_end, attribute);
  }
  return swatch;
}

}  // namespace scenario
