#include "kelvaro/engine/results_print.h"

#include "common/numtext.h"

namespace velmora::kelvaro {

void print_results_table(const Document& doc, Canvas& canvas, const std::string& title) {
    const Grid& g = doc.ZCSG5;
    Font heading{"Times New Roman", 13, true, false, true, 0, colors::kBlack};
    canvas.set_pen(Pen{});
    canvas.set_font(heading);
    canvas.text(0, 100, title);
    Font cell{"Arial", 7, false, false, false, 0, colors::kBlack};
    Font bold = cell;
    bold.bold = true;
    int before = 0;  // sum of the screen widths of the columns before c
    for (int c = 0; c < g.col_count(); ++c) {
        const int width = g.col_width(c);
        const double left = 5.0 * before;
        const double right = 5.0 * (before + width) - 30;
        before += width;
        for (int a = 0; a < g.row_count(); ++a) {
            canvas.set_font(a == 0 ? bold : cell);
            const RectF box{left, 300.0 + 150 * a, right, 450.0 + 150 * a};
            canvas.text_clipped(box, left + 50, 350.0 + 150 * a, g(c, a));
        }
    }
}

int print_scale(int printer_dpi, int screen_dpi) { return screen_dpi > 0 ? printer_dpi / screen_dpi : 1; }

DrawingScales drawing_scales(int ax, int ay) {
    auto r = [](double v) { return static_cast<int>(numtext::round_to(v, 0)); };
    return {r(ax * 1.2), r(ay * 1.9), r(ax * 0.7), r(ay * 1.5)};
}

}  // namespace velmora::kelvaro
