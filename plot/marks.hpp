#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

// Every kind of mark the picture draws. A mark carries its kind's class, which gives its
// look through the picture's style sheet; the legend draws its swatch with the same class,
// so a mark and its legend entry cannot look different.
enum class Mark : uint8_t {
  kTrack,
  kStation,
  kSignal,
  kLineSpeed,
  kSpeedBoard,
  kIndicatorBoard,
  kSlowdown,
  kCodeReduction,
  kGradient,
  kMountain,
  kCurve,
  kKilometrePostChange,
  kFastestRun,
};

struct MarkKind {
  Mark mark;
  std::string_view css_class;
  std::string_view legend;  // the legend's words for it
  std::string_view css;     // the rules of the class, for the style sheet
  std::string_view swatch;  // elements in an 18 × 12 box above the origin, without their class
};

// The kinds in legend order.
std::span<const MarkKind> mark_kinds();
const MarkKind& mark_kind(Mark mark);

// `class="NAME"`, for a mark's element.
std::string class_attribute(Mark mark);

// The <style> element with every kind's rules.
std::string mark_style_sheet();

// The swatch of a kind, each of its elements given the kind's class.
std::string mark_swatch(Mark mark);

}  // namespace scenario
