#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "plot/marks.hpp"
#include "plot/text_metrics.hpp"

namespace scenario {

struct TextStyle {
  double size = 11;  // the document's font size
  bool bold = false;
  TextAnchor anchor = TextAnchor::kStart;
  std::string_view attributes = "";  // more attributes: fill, class
};

// An SVG document of a fixed width whose height is known only when it is finished. It keeps
// the box of every text it holds, so that a label is placed only where it stays on the page
// and clear of every other text, and the kinds of mark drawn, for the legend.
class SvgCanvas {
 public:
  explicit SvgCanvas(double width);

  double width() const { return width_; }

  void raw(std::string_view element);
  // Shapes; `attributes` is the rest of the element, and a `title` (XML text), when given,
  // is what a viewer shows on pointing at the shape.
  void line(double x1, double y1, double x2, double y2, std::string_view attributes, std::string_view title = "");
  void rect(double x, double y, double w, double h, std::string_view attributes, std::string_view title = "");
  void circle(double x, double y, double r, std::string_view attributes, std::string_view title = "");
  void path(std::string_view attributes, std::string_view d, std::string_view title = "");
  // A thin line from a mark to its label; texts placed after it keep clear of it.
  void leader(double x1, double y1, double x2, double y2);
  // Whether a leader from (x1, y1) to (x2, y2) would cross no text and no other leader.
  bool leader_fits(double x1, double y1, double x2, double y2) const;
  // The class attribute of a kind of mark, the kind noted as drawn, for the legend.
  std::string marked(Mark kind);

  // `xml` is already XML text. Returns the box it covers.
  Box text(double x, double y, std::string_view xml, const TextStyle& style = {});
  // Whether a text could take `box`: on the page's width, below its top, and clear of every
  // text and leader.
  bool fits(const Box& box) const;
  // The lowest edge of the texts so far.
  double bottom() const { return bottom_; }

  const std::set<Mark>& marks_drawn() const { return marks_; }

  // The document, `height` units high; the canvas is left empty.
  std::string finish(double height);

 private:
  // `start` is the element up to its attributes' end.
  void shape(std::string_view name, const std::string& start, std::string_view title);

  double width_;
  double bottom_ = 0;
  std::string body_;
  std::vector<Box> texts_;
  struct Segment {
    double x1, y1, x2, y2;
  };
  std::vector<Segment> leaders_;
  std::set<Mark> marks_;
};

}  // namespace scenario
