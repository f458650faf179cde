#include "common/canvas.h"

#include "common/numtext.h"

namespace velmora {
namespace {

std::string num(double v) { return numtext::format_general(numtext::round_to(v, 2)); }

std::string escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out.push_back(c);
        }
    }
    return out;
}

std::string points_attr(const std::vector<PointF>& pts) {
    std::string s;
    for (const auto& p : pts) {
        if (!s.empty()) s += ' ';
        s += num(p.x) + "," + num(p.y);
    }
    return s;
}

}  // namespace

SvgCanvas::SvgCanvas(double width, double height) : width_(width), height_(height) {}

std::string SvgCanvas::stroke() const {
    if (pen_.style == PenStyle::Clear) return " stroke=\"none\"";
    std::string s = " stroke=\"" + color_hex(pen_.color) + "\" stroke-width=\"" + num(pen_.width) + "\"";
    if (pen_.style == PenStyle::Dot) s += " stroke-dasharray=\"1,2\"";
    if (pen_.style == PenStyle::Dash) s += " stroke-dasharray=\"6,3\"";
    if (pen_.style == PenStyle::DashDot) s += " stroke-dasharray=\"6,2,1,2\"";
    return s;
}

std::string SvgCanvas::fill() const {
    return brush_.clear ? " fill=\"none\"" : " fill=\"" + color_hex(brush_.color) + "\"";
}

void SvgCanvas::line(double x1, double y1, double x2, double y2) {
    body_ += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" + num(y2) + "\"" +
             stroke() + "/>\n";
}

void SvgCanvas::polyline(const std::vector<PointF>& points) {
    body_ += "<polyline points=\"" + points_attr(points) + "\" fill=\"none\"" + stroke() + "/>\n";
}

void SvgCanvas::polygon(const std::vector<PointF>& points) {
    body_ += "<polygon points=\"" + points_attr(points) + "\"" + fill() + stroke() + "/>\n";
}

void SvgCanvas::rectangle(const RectF& r) {
    body_ += "<rect x=\"" + num(r.left) + "\" y=\"" + num(r.top) + "\" width=\"" + num(r.width()) + "\" height=\"" +
             num(r.height()) + "\"" + fill() + stroke() + "/>\n";
}

void SvgCanvas::ellipse(const RectF& r) {
    body_ += "<ellipse cx=\"" + num((r.left + r.right) / 2) + "\" cy=\"" + num((r.top + r.bottom) / 2) + "\" rx=\"" +
             num(r.width() / 2) + "\" ry=\"" + num(r.height() / 2) + "\"" + fill() + stroke() + "/>\n";
}

std::string SvgCanvas::text_element(double x, double y, const std::string& text) const {
    double px = font_.size * dpi() / 72.0;
    std::string e = "<text x=\"" + num(x) + "\" y=\"" + num(y + px) + "\" font-family=\"" + escape(font_.name) +
                    "\" font-size=\"" + num(px) + "\" fill=\"" + color_hex(font_.color) + "\"";
    if (font_.bold) e += " font-weight=\"bold\"";
    if (font_.italic) e += " font-style=\"italic\"";
    if (font_.underline) e += " text-decoration=\"underline\"";
    if (font_.angle != 0) e += " transform=\"rotate(" + num(-font_.angle) + " " + num(x) + " " + num(y) + ")\"";
    return e + ">" + escape(text) + "</text>";
}

void SvgCanvas::text(double x, double y, const std::string& text) { body_ += text_element(x, y, text) + "\n"; }

void SvgCanvas::text_clipped(const RectF& clip, double x, double y, const std::string& text) {
    std::string id = "c" + std::to_string(++clip_id_);
    body_ += "<clipPath id=\"" + id + "\"><rect x=\"" + num(clip.left) + "\" y=\"" + num(clip.top) + "\" width=\"" +
             num(clip.width()) + "\" height=\"" + num(clip.height()) + "\"/></clipPath><g clip-path=\"url(#" + id +
             ")\">" + text_element(x, y, text) + "</g>\n";
}

void SvgCanvas::image(const std::string& name, double x, double y) {
    // Symbols are not embedded; a labelled marker stands in their place.
    body_ += "<g class=\"symbol\" data-name=\"" + escape(name) + "\"><rect x=\"" + num(x) + "\" y=\"" + num(y) +
             "\" width=\"12\" height=\"12\" fill=\"none\" stroke=\"#000000\"/></g>\n";
}

std::string SvgCanvas::document() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           num(width_) + "\" height=\"" + num(height_) + "\" viewBox=\"0 0 " + num(width_) + " " + num(height_) +
           "\">\n<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n" + body_ + "</svg>\n";
}

}  // namespace velmora
