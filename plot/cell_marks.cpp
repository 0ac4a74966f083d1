#include "plot/cell_marks.hpp"

#include <iterator>
#include <string>

#include "model/format_rules.hpp"
#include "plot/marks.hpp"
#include "plot/svg_text.hpp"
#include "reading/track_reading.hpp"

namespace scenario {
namespace {

void draw_nothing(const CellMarkBand&, double, const TrackCell&) {}

void draw_signal_tick(const CellMarkBand& band, double x, const TrackCell&) {
  band.svg.line(x, band.bottom, x, band.bottom - 8, band.svg.marked(Mark::kSignal));
}

void draw_code_reduction_triangle(const CellMarkBand& band, double x, const TrackCell&) {
  const double y = band.top + 6;
  band.svg.path(band.svg.marked(Mark::kCodeReduction), "M" + svg_number(x - 4) + " " + svg_number(y - 6) + " L" +
                                                           svg_number(x + 4) + " " + svg_number(y - 6) + " L" +
                                                           svg_number(x) + " " + svg_number(y) + " Z");
}

void draw_speed_board_square(const CellMarkBand& band, double x, const TrackCell& cell) {
  const double y = band.speed_y(static_cast<double>(board_left_kmh(cell.value1)));
  band.svg.rect(x - 3, y - 3, 6, 6, band.svg.marked(Mark::kSpeedBoard), speed_board_text(cell));
}

// An indicator board's text in its title, and under the speed band where there is room.
void draw_indicator_board_diamond(const CellMarkBand& band, double x, const TrackCell& cell) {
  const std::string* text = indicator_board_text(cell, band.records);
  const double b = band.bottom;
  band.svg.path(band.svg.marked(Mark::kIndicatorBoard),
                "M" + svg_number(x) + " " + svg_number(b - 16) + " L" + svg_number(x + 4) + " " + svg_number(b - 12) +
                    " L" + svg_number(x) + " " + svg_number(b - 8) + " L" + svg_number(x - 4) + " " +
                    svg_number(b - 12) + " Z",
                text ? xml_text(*text) : "");
  if (text && !text->empty()) band.board_labels.place(x, elided_xml(*text, band.longest_label, band.label_size));
}

struct ShapeDrawing {
  PlotMarkShape shape;
  void (*draw)(const CellMarkBand&, double, const TrackCell&);
};

// The drawing of every shape a cell kind may be marked with.
constexpr ShapeDrawing kDrawings[] = {
    {PlotMarkShape::kMarkUnset, draw_nothing},
    {PlotMarkShape::kNotDrawn, draw_nothing},
    {PlotMarkShape::kSignalTick, draw_signal_tick},
    {PlotMarkShape::kCodeReductionTriangle, draw_code_reduction_triangle},
    {PlotMarkShape::kSpeedBoardSquare, draw_speed_board_square},
    {PlotMarkShape::kIndicatorBoardDiamond, draw_indicator_board_diamond},
};

constexpr bool every_shape_in_order() {
  if (std::size(kDrawings) != kPlotMarkShapeCount) return false;
  for (std::size_t i = 0; i < std::size(kDrawings); ++i)
    if (static_cast<std::size_t>(kDrawings[i].shape) != i) return false;
  return true;
}
static_assert(every_shape_in_order(), "every plot mark shape needs its drawing, in the order of the shapes");

}  // namespace

void draw_cell_mark(const CellMarkBand& band, double x, const TrackCell& cell) {
  kDrawings[static_cast<std::size_t>(cell_kind_entry(cell.kind).plot_mark)].draw(band, x, cell);
}

}  // namespace scenario
