#include "plot/svg_canvas.hpp"

#include <algorithm>

#include "plot/svg_text.hpp"

namespace scenario {

SvgCanvas::SvgCanvas(double width) : width_(width) {}

void SvgCanvas::raw(std::string_view element) {
  body_ += element;
  body_ += '\n';
}

void SvgCanvas::shape(std::string_view name, const std::string& start, std::string_view title) {
  if (title.empty()) return raw(start + "/>");
  raw(start + "><title>" + std::string(title) + "</title></" + std::string(name) + ">");
}

void SvgCanvas::line(double x1, double y1, double x2, double y2, std::string_view attributes, std::string_view title) {
  shape("line",
        "<line x1=\"" + svg_number(x1) + "\" y1=\"" + svg_number(y1) + "\" x2=\"" + svg_number(x2) + "\" y2=\"" +
            svg_number(y2) + "\" " + std::string(attributes),
        title);
}

void SvgCanvas::rect(double x, double y, double w, double h, std::string_view attributes, std::string_view title) {
  shape("rect",
        "<rect x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\" width=\"" + svg_number(std::max(w, 0.0)) +
            "\" height=\"" + svg_number(std::max(h, 0.0)) + "\" " + std::string(attributes),
        title);
}

void SvgCanvas::circle(double x, double y, double r, std::string_view attributes, std::string_view title) {
  shape("circle",
        "<circle cx=\"" + svg_number(x) + "\" cy=\"" + svg_number(y) + "\" r=\"" + svg_number(r) + "\" " +
            std::string(attributes),
        title);
}

void SvgCanvas::path(std::string_view attributes, std::string_view d, std::string_view title) {
  shape("path", "<path " + std::string(attributes) + " d=\"" + std::string(d) + "\"", title);
}

void SvgCanvas::leader(double x1, double y1, double x2, double y2) {
  line(x1, y1, x2, y2, "class=\"leader\" stroke=\"#888\" stroke-width=\"0.7\"");
  leaders_.push_back({x1, y1, x2, y2});
}

std::string SvgCanvas::marked(Mark kind) {
  marks_.insert(kind);
  return class_attribute(kind);
}

Box SvgCanvas::text(double x, double y, std::string_view xml, const TextStyle& style) {
  std::string element = "<text x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\"";
  if (style.size != TextStyle{}.size) element += " font-size=\"" + svg_number(style.size) + "\"";
  if (style.bold) element += " font-weight=\"bold\"";
  if (style.anchor != TextAnchor::kStart)
    element += style.anchor == TextAnchor::kMiddle ? " text-anchor=\"middle\"" : " text-anchor=\"end\"";
  if (!style.attributes.empty()) element += " " + std::string(style.attributes);
  raw(element + ">" + std::string(xml) + "</text>");
  const Box box = text_box(x, y, xml, style.size, style.bold, style.anchor);
  texts_.push_back(box);
  bottom_ = std::max(bottom_, box.y + box.h);
  return box;
}

bool SvgCanvas::fits(const Box& box) const {
  if (box.x < 0 || box.y < 0 || box.x + box.w > width_) return false;
  return std::none_of(texts_.begin(), texts_.end(), [&](const Box& other) { return other.overlaps(box); }) &&
         std::none_of(leaders_.begin(), leaders_.end(),
                      [&](const Segment& s) { return box.crossed_by(s.x1, s.y1, s.x2, s.y2); });
}

namespace {

// Which side of the line through a and b the point c lies (the sign of the cross product).
double side_of(double ax, double ay, double bx, double by, double cx, double cy) {
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

}  // namespace

bool SvgCanvas::leader_fits(double x1, double y1, double x2, double y2) const {
  const auto crosses = [&](const Segment& s) {
    return side_of(s.x1, s.y1, s.x2, s.y2, x1, y1) * side_of(s.x1, s.y1, s.x2, s.y2, x2, y2) <= 0 &&
           side_of(x1, y1, x2, y2, s.x1, s.y1) * side_of(x1, y1, x2, y2, s.x2, s.y2) <= 0;
  };
  return std::none_of(texts_.begin(), texts_.end(), [&](const Box& box) { return box.crossed_by(x1, y1, x2, y2); }) &&
         std::none_of(leaders_.begin(), leaders_.end(), crosses);
}

std::string SvgCanvas::finish(double height) {
  const std::string w = svg_number(width_), h = svg_number(height);
  std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  head += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w +
          " " + h + "\" font-family=\"sans-serif\" font-size=\"" + svg_number(TextStyle{}.size) + "\">\n";
  head += mark_style_sheet() + "\n";
  head += "<rect class=\"background\" width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  // The body moves into the document, the head put before it in place: no copy of a long body.
  std::string out = std::move(body_);
  body_.clear();
  out.insert(0, head);
  out += "</svg>\n";
  return out;
}

}  // namespace scenario
