#include "tosquin/engine/graph.h"

#include "common/numtext.h"

#include <algorithm>
#include <cmath>

namespace velmora::tosquin {

PointF convertirxy(const GraphState& g, double z, double x) {
    return {std::nearbyint((x - g.xmin) * g.sx + 70), std::nearbyint(-(z - g.zfirst) * g.sy + 30)};
}

bool compute_scales(const Document& doc, GraphState& g) {
    int n = station_count(doc);
    if (n < 2) return false;
    g.xmin = station_x(doc, 0);
    g.xmax = station_x(doc, n - 1);
    g.zfirst = station_z(doc, 0);
    g.zlast = station_z(doc, n - 1);
    g.zmin = g.zfirst;
    for (int i = 0; i < n; ++i) g.zmin = std::min(g.zmin, station_z(doc, i));
    if (g.xmax == g.xmin) return false;
    g.sx = (g.width - 100) / (g.xmax - g.xmin);
    g.sy = g.zfirst > g.zmin ? (g.height - 80) / (g.zfirst - g.zmin) : 0.0;
    return true;
}

void dibujargrafica(Document& doc, Canvas& canvas, int fx, int fy) {
    GraphState& g = doc.graph;
    if (!compute_scales(doc, g)) return;
    auto pt = [&](double z, double x) {
        PointF p = convertirxy(g, z, x);
        return PointF{p.x * fx, p.y * fy};
    };
    Font font = canvas.font();
    font.angle = 0;
    canvas.set_font(font);
    canvas.set_pen(Pen{colors::kBlack, 1, PenStyle::Solid});

    // Ground.
    std::vector<PointF> ground;
    int n = station_count(doc);
    for (int i = 0; i < n; ++i) ground.push_back(pt(station_z(doc, i), station_x(doc, i)));
    canvas.polyline(ground);

    // Axes.
    PointF top = pt(g.zfirst, g.xmin), origin = pt(g.zmin, g.xmin), end = pt(g.zmin, g.xmax);
    canvas.line(top.x, top.y, origin.x, origin.y);
    canvas.line(origin.x, origin.y, end.x + 20 * fx, end.y);

    // Elevation scale.
    double r = g.zfirst - g.zmin >= 20 ? 20 : 1;
    int steps = static_cast<int>(std::trunc((g.zfirst - g.zmin) / r));
    for (int i = 0; i <= steps; ++i) {
        double v = (i + std::trunc(g.zmin / r + 1)) * r;
        PointF p = pt(v, g.xmin);
        canvas.text(p.x - 30 * fx, p.y - 8 * fy, numtext::format_fixed(v, 0));
        canvas.line(p.x, p.y, 60 * fx, p.y);
    }

    canvas.text(250 * fx, 25 * fy, "Q= " + numtext::format_general(doc.caudal) + " L/S");

    // Distance scale, text turned 90 degrees.
    font.angle = 90;
    canvas.set_font(font);
    canvas.text(origin.x - 5 * fx, origin.y + 45 * fy, "0");
    double rx = g.xmax - g.xmin >= 100 ? 100 : 10;
    int count = static_cast<int>(std::trunc((g.xmax - g.xmin) / rx));
    for (int c = 0; c <= count; ++c) {
        double v = (std::trunc(g.xmin / rx + 1) + c) * rx;
        PointF p = pt(g.zmin, v);
        canvas.text(p.x - 5 * fx, p.y + 45 * fy, numtext::format_fixed(v, 0));
        canvas.line(p.x, p.y, p.x, p.y + 10 * fy);
    }
    double last_value = (count + 1 + std::trunc(g.xmin / rx)) * rx;
    PointF last = pt(g.zmin, (count + 1 + std::trunc(g.xmin / rx + 1)) * rx);
    canvas.text(last.x - 25 * fx, last.y + 45 * fy, numtext::format_fixed(last_value, 0));
    font.angle = 0;
    canvas.set_font(font);

    // Element symbols.
    for (size_t k = 1; k < doc.seccionesx.size() && k < doc.seccionesz.size(); ++k) {
        PointF p = pt(numtext::val(doc.seccionesz[k]), numtext::val(doc.seccionesx[k]));
        canvas.image("Crp", p.x - 6 * fx, p.y - 15 * fy);
    }
    for (size_t k = 0; k < doc.xva.size() && k < doc.yva.size(); ++k) {
        PointF p = pt(numtext::val(doc.yva[k]), numtext::val(doc.xva[k]));
        canvas.image("Va", p.x, p.y - 12 * fy);
    }
    for (size_t k = 0; k < doc.xvl.size() && k < doc.yvl.size(); ++k) {
        PointF p = pt(numtext::val(doc.yvl[k]), numtext::val(doc.xvl[k]));
        canvas.image("Vl", p.x, p.y);
    }

    g.present = true;
    doc.commands.design_tools = true;
}

}  // namespace velmora::tosquin
