#include "kelvaro/engine/plan_drawing.h"

#include "common/numtext.h"

namespace velmora::kelvaro {
namespace nt = velmora::numtext;

const char* const kBoxImage = "crp";

namespace {

void segment_line(Canvas& canvas, double x1, double y1, double x2, double y2) {
    canvas.set_pen(Pen{colors::kBlack, 2, PenStyle::Solid});
    canvas.line(x1, y1, x2, y2);
}

// A node number with its top left at (x, y) on a filled background.
void label(Canvas& canvas, double x, double y, const std::string& text, Color background) {
    canvas.set_pen(Pen{background, 1, PenStyle::Clear});
    canvas.set_brush(Brush{background, false});
    canvas.rectangle({x, y, x + canvas.text_width(text), y + canvas.text_height(text)});
    canvas.text(x, y, text);
}

// Every segment of one run of points, labelled at both ends.
void draw_run(Canvas& canvas, const TextList& xs, const TextList& ys, const TextList& nodes, int marked_from, int SX,
              int SY) {
    for (size_t i = 0; i + 1 < nodes.size() && i + 1 < xs.size() && i + 1 < ys.size(); ++i) {
        const double x1 = nt::read_strict(xs[i]) * SX, y1 = nt::read_strict(ys[i]) * SY;
        const double x2 = nt::read_strict(xs[i + 1]) * SX, y2 = nt::read_strict(ys[i + 1]) * SY;
        segment_line(canvas, x1, y1, x2, y2);
        const bool marked = marked_from >= 0 && static_cast<int>(i) >= marked_from;
        const Color background = marked ? colors::kRed : colors::kWhite;
        label(canvas, x1, y1, nodes[i], background);
        label(canvas, x2, y2, nodes[i + 1], background);
    }
}

}  // namespace

void draw_plan(Canvas& canvas, const Document& doc, const PlanEditor* editor, int SX, int SY) {
    const Font saved_font = canvas.font();
    Font font = saved_font;
    font.color = colors::kBlack;
    canvas.set_font(font);
    if (editor && editor->new_pipeline()) draw_run(canvas, editor->cx(), editor->cy(), editor->nn(), -1, SX, SY);
    for (size_t k = 0; k < doc.tramosnudos.size(); ++k) {
        const int marked_from =
            editor && !editor->tramosborrar().empty() ? marked_segment(doc.tramosnudos[k], editor->tramosborrar()) : -1;
        draw_run(canvas, doc.tramosx.at(k), doc.tramosy.at(k), doc.tramosnudos[k], marked_from, SX, SY);
    }
    for (size_t b = 0; b < doc.bpbx.size() && b < doc.bpby.size(); ++b) {
        const double x = nt::round_to(nt::read_strict(doc.bpbx[b]) - 6, 0) * SX;
        const double y = (nt::round_to(nt::read_strict(doc.bpby[b]), 0) - 7) * SY;
        canvas.image(kBoxImage, x, y);
    }
    canvas.set_pen(Pen{});
    canvas.set_brush(Brush{});
    canvas.set_font(saved_font);
}

void paint_plan(Canvas& canvas, const Document& doc, PlanEditor& editor) {
    draw_plan(canvas, doc, &editor, 1, 1);
    if (auto band = editor.rubber_band()) {
        canvas.set_pen(Pen{colors::kBlack, 1, PenStyle::Solid});
        canvas.line((*band)[0].x, (*band)[0].y, (*band)[1].x, (*band)[1].y);
    }
    editor.draw_contours(canvas, 1, 1);
    canvas.set_pen(Pen{});
}

}  // namespace velmora::kelvaro
