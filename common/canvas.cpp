#include "common/canvas.h"

#include "common/numtext.h"

#include <cstdio>

namespace velmora {

std::string color_hex(Color c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r, c.g, c.b);
    return buf;
}

namespace {
const char* style_name(PenStyle s) {
    switch (s) {
        case PenStyle::Solid: return "solid";
        case PenStyle::Dot: return "dot";
        case PenStyle::Dash: return "dash";
        case PenStyle::DashDot: return "dashdot";
        case PenStyle::Clear: return "clear";
    }
    return "solid";
}

// Counts UTF-8 characters, not bytes.
size_t char_count(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}
}  // namespace

double Canvas::text_width(const std::string& text) const {
    // Average glyph width of a proportional font: about 0.55 em.
    return static_cast<double>(char_count(text)) * font_.size * dpi() / 72.0 * 0.55;
}

double Canvas::text_height(const std::string&) const { return font_.size * dpi() / 72.0 * 1.2; }

void RecordingCanvas::record(const std::string& kind, std::vector<PointF> pts, const std::string& text) {
    std::string line = kind;
    for (const auto& p : pts) line += " " + numtext::format_general(p.x) + " " + numtext::format_general(p.y);
    if (kind == "text" || kind == "text_clipped" || kind == "image") {
        line += " \"" + text + "\"";
        if (kind != "image") line += " font=" + font_.name + "/" + numtext::format_general(font_.size) +
                                     (font_.bold ? "/bold" : "") + "/" + color_hex(font_.color) +
                                     (font_.angle != 0 ? "/angle=" + numtext::format_general(font_.angle) : "");
    } else {
        line += std::string(" pen=") + color_hex(pen_.color) + "/" + numtext::format_general(pen_.width) + "/" +
                style_name(pen_.style);
        if (kind == "polygon" || kind == "rectangle" || kind == "ellipse")
            line += " brush=" + (brush_.clear ? std::string("clear") : color_hex(brush_.color));
    }
    calls.push_back(line);
    ops.push_back({kind, std::move(pts), text, pen_, brush_, font_});
}

void RecordingCanvas::line(double x1, double y1, double x2, double y2) { record("line", {{x1, y1}, {x2, y2}}, ""); }
void RecordingCanvas::polyline(const std::vector<PointF>& points) { record("polyline", points, ""); }
void RecordingCanvas::polygon(const std::vector<PointF>& points) { record("polygon", points, ""); }
void RecordingCanvas::rectangle(const RectF& r) { record("rectangle", {{r.left, r.top}, {r.right, r.bottom}}, ""); }
void RecordingCanvas::ellipse(const RectF& r) { record("ellipse", {{r.left, r.top}, {r.right, r.bottom}}, ""); }
void RecordingCanvas::text(double x, double y, const std::string& text) { record("text", {{x, y}}, text); }
void RecordingCanvas::text_clipped(const RectF& clip, double x, double y, const std::string& text) {
    record("text_clipped", {{x, y}, {clip.left, clip.top}, {clip.right, clip.bottom}}, text);
}
void RecordingCanvas::image(const std::string& name, double x, double y) { record("image", {{x, y}}, name); }

}  // namespace velmora
