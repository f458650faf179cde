#include "kelvaro/engine/plan_drawing.h"

#include "common/numtext.h"

#include <algorithm>

namespace velmora::kelvaro {
namespace nt = velmora::numtext;

namespace {

// A node number on a white background, its top-left at (x, y).
void node_label(Canvas& canvas, double x, double y, const std::string& text) {
    canvas.set_pen(Pen{colors::kWhite, 1, PenStyle::Clear});
    canvas.set_brush(Brush{colors::kWhite, false});
    canvas.rectangle(RectF{x, y, x + canvas.text_width(text), y + canvas.text_height(text)});
    canvas.text(x, y, text);
}

}  // namespace

void draw_plan(const Document& doc, Canvas& canvas, int SX, int SY) {
    canvas.set_font(Font{});
    for (size_t k = 0; k < doc.tramosx.size(); ++k) {
        const TextList& xs = doc.tramosx[k];
        const TextList& ys = k < doc.tramosy.size() ? doc.tramosy[k] : TextList{};
        const TextList& ns = k < doc.tramosnudos.size() ? doc.tramosnudos[k] : TextList{};
        const size_t n = std::min(xs.size(), ys.size());
        for (size_t i = 0; i + 1 < n; ++i) {
            const double x1 = nt::read_strict(xs[i]) * SX, y1 = nt::read_strict(ys[i]) * SY;
            const double x2 = nt::read_strict(xs[i + 1]) * SX, y2 = nt::read_strict(ys[i + 1]) * SY;
            canvas.set_pen(Pen{colors::kBlack, 2, PenStyle::Solid});
            canvas.line(x1, y1, x2, y2);
            node_label(canvas, x1, y1, i < ns.size() ? ns[i] : "");
            node_label(canvas, x2, y2, i + 1 < ns.size() ? ns[i + 1] : "");
        }
    }
    const size_t boxes = std::min(doc.bpbx.size(), doc.bpby.size());
    for (size_t b = 0; b < boxes; ++b) {
        const double x = nt::read_strict(doc.bpbx[b]);
        const double y = nt::read_strict(doc.bpby[b]);
        // The symbol's top left corner, 6 pixels left of and 7 above the box,
        // scaled as a whole (on screen, with factors 1, this is the same point).
        canvas.image("crp", nt::round_to(x - 6, 0) * SX, (nt::round_to(y, 0) - 7) * SY);
    }
    canvas.set_pen(Pen{});
    canvas.set_brush(Brush{});
}

PlanExtent plan_extent(const Document& doc) {
    double w = 0, h = 0;
    for (const auto& xs : doc.tramosx)
        for (const auto& x : xs) w = std::max(w, nt::read_lenient(x));
    for (const auto& ys : doc.tramosy)
        for (const auto& y : ys) h = std::max(h, nt::read_lenient(y));
    return {static_cast<int>(w) + 50, static_cast<int>(h) + 50};
}

}  // namespace velmora::kelvaro
