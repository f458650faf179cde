#include "marulet/engine/results_print.h"

#include "common/numtext.h"

namespace velmora::marulet {

int print_scale(int printer_dpi, int screen_dpi) { return screen_dpi > 0 ? printer_dpi / screen_dpi : 1; }

DrawingScales drawing_scales(int ax, int ay) {
    auto r = [](double v) { return static_cast<int>(numtext::round_to(v, 0)); };
    return {r(ax * 1.2), r(ay * 1.9), r(ax * 0.65), r(ay * 1.65)};
}

void print_results_table(const Document& doc, Canvas& canvas, const std::string& title) {
    Font heading;
    heading.name = "Times New Roman";
    heading.size = 12;
    heading.bold = true;
    heading.underline = true;
    canvas.set_font(heading);
    canvas.text(0, 100, title);

    const Grid& g = doc.ZCSG5;
    Font bold;
    bold.size = 7;
    bold.bold = true;
    Font plain;
    plain.size = 7;
    double left = 0;
    for (int c = 0; c < g.col_count(); ++c) {
        const double width = g.col_width(c);
        const double right = 5 * (left + width) - 30;
        for (int r = 0; r < g.row_count(); ++r) {
            const double top = r == 0 ? 300 : 150.0 * r + 300;
            const double bottom = r == 0 ? 450 : 150.0 * r + 450;
            const Merge* m = g.merge_at(c, r);
            const std::string& text = m ? g(m->col, m->row) : g(c, r);
            canvas.set_font(r == 0 ? bold : plain);
            canvas.text_clipped({5 * left, top, right, bottom}, 5 * left + 50, top + 50, text);
        }
        left += width;
    }
}

}  // namespace velmora::marulet
