#include "kelvaro/engine/profile_drawing.h"

#include "common/errors.h"
#include "common/numtext.h"

#include <cmath>
#include <limits>
#include <unordered_map>

namespace velmora::kelvaro {
namespace nt = velmora::numtext;

namespace {

double num(const std::string& text) { return nt::read_lenient(text); }
double round0(double x) { return nt::round_to(x, 0); }
std::string two_decimals(double x) { return nt::format_general(nt::round_to(x, 2)); }

// The pipe rows of the results table: row 2 up to the row before "Total".
int first_row_after_pipes(const Grid& res) {
    for (int r = 2; r < res.row_count(); ++r)
        if (res(0, r) == "Total") return r;
    return res.row_count();
}

}  // namespace

double ProfileChart::px(double chainage) const { return round0(chainage * kx + 30); }
double ProfileChart::py(double elevation) const { return round0(H - 50 - (elevation - ymin1) * ky); }
double ProfileChart::elevation_at_row(double y) const { return ky != 0 ? (H - y - 50) / ky + ymin1 : ymin1; }

ProfileChart build_profile_chart(const Document& doc, int W, int H) {
    ProfileChart ch;
    ch.W = W;
    ch.H = H;
    const Grid& res = doc.ZCSG5;
    const Grid& nodes = doc.ZCSG6;
    // Terrain of each node: the last ZCSG6 row of that node.
    std::unordered_map<std::string, std::string> elevation;
    for (int r = 1; r < nodes.row_count(); ++r) {
        if (nodes(1, r).empty()) continue;
        elevation[nodes(1, r)] = nodes(3, r);
        const double e = num(nodes(3, r));
        ch.ymin1 = std::min(ch.ymin1, e);
        ch.ymax = std::max(ch.ymax, e);
    }
    auto terrain = [&](const std::string& node) {
        auto it = elevation.find(node);
        return it == elevation.end() ? std::string() : it->second;
    };
    const int end = first_row_after_pipes(res);
    std::vector<double> ends;  // end chainage of each pipe so far
    for (int r = 2; r < end; ++r) {
        const std::string& from = res(2, r);
        const std::string& to = res(3, r);
        double start = 0;
        if (!ends.empty()) {
            // The earlier pipe that ends at this pipe's "From" node.
            for (size_t j = 0; j < ends.size(); ++j)
                if (ch.eper2[j] == from) start = ends[j];
        }
        const double finish = start + num(res(4, r));
        ends.push_back(finish);
        ch.xper1.push_back(nt::format_general(start));
        ch.xper2.push_back(nt::format_general(finish));
        ch.eper1.push_back(from);
        ch.eper2.push_back(to);
        ch.yper1.push_back(terrain(from));
        ch.yper2.push_back(terrain(to));
        ch.hgl1.push_back(res(15, r));
        ch.hgl2.push_back(res(16, r));
        ch.diam.push_back(res(9, r));
        ch.xmax1 = std::max(ch.xmax1, finish);
    }
    // A network of zero length or one flat elevation has no scale along that
    // axis: everything is drawn at the axis instead of at infinity.
    ch.kx = ch.xmax1 > 0 ? (W - 100) / ch.xmax1 : 0;
    ch.ky = ch.ymax > ch.ymin1 ? (H - 100) / (ch.ymax - ch.ymin1) : 0;
    if (ch.ymin1 > ch.ymax) ch.ymin1 = ch.ymax;
    return ch;
}

ProfileChart dibujarperfiles(const Document& doc, Canvas& canvas, int W, int H, int SX, int SY,
                             const ProfileOptions& options) {
    ProfileChart ch = build_profile_chart(doc, W, H);
    const long long N = nt::read_int_strict(options.grid_at);
    auto line = [&](double x1, double y1, double x2, double y2) { canvas.line(x1 * SX, y1 * SY, x2 * SX, y2 * SY); };
    auto text = [&](double x, double y, const std::string& s) { canvas.text(x * SX, y * SY, s); };

    Font plain;
    canvas.set_font(plain);
    canvas.set_pen(Pen{colors::kBlack, 1, PenStyle::Solid});
    line(30, 10, 30, H - 30);
    line(30, H - 30, W - 30, H - 30);

    if (N >= 1) {
        const double n = static_cast<double>(N);
        const Pen silver{colors::kSilver, 1, PenStyle::Solid};
        Font rotated = plain;
        rotated.angle = 90;
        const long long verticals = static_cast<long long>(round0(ch.xmax1 / n + 1)) - 1;
        for (long long k = 1; k <= verticals; ++k) {
            const double x = ch.px(n * static_cast<double>(k));
            if (options.showgrid) {
                canvas.set_pen(silver);
                line(x, ch.py(ch.ymax), x, H - 30);
            }
            if ((10 * k) % N == 0) {
                canvas.set_font(rotated);
                text(x - 8, H - 10, nt::format_general(n * static_cast<double>(k)));
            }
        }
        canvas.set_font(plain);
        const long long horizontals = static_cast<long long>(round0((ch.ymax - ch.ymin1) / n + 1)) - 1;
        for (long long k = 0; k <= horizontals; ++k) {
            const double e = ch.ymax - n * static_cast<double>(k);
            const double y = ch.py(e);
            if (!(y < H - 30)) continue;
            if (options.showgrid) {
                canvas.set_pen(silver);
                line(30, y, W - 30, y);
            }
            text(e >= 1000 ? 0 : 10, y - 10, nt::format_general(e));
        }
    }

    const Pen terrain{colors::kBlack, 2, PenStyle::Solid};
    const Pen grade{options.black_pen ? colors::kBlack : colors::kBlue, 1, PenStyle::Dot};
    canvas.set_font(plain);
    for (int i = 0; i < ch.pipes(); ++i) {
        const double x1 = ch.px(num(ch.xper1[i])), x2 = ch.px(num(ch.xper2[i]));
        const double t1 = ch.py(num(ch.yper1[i])), t2 = ch.py(num(ch.yper2[i]));
        const double g1 = ch.py(num(ch.hgl1[i])), g2 = ch.py(num(ch.hgl2[i]));
        text(x1, t1, ch.eper1[i]);
        text(x2, t2, ch.eper2[i]);
        if (i > 0 && t1 == g1) text(x1, t1 - 14, "BPB");
        canvas.set_pen(terrain);
        line(x1, t1, x2, t2);
        canvas.set_pen(grade);
        line(x1, g1, x2, g2);
    }
    canvas.set_pen(Pen{});
    return ch;
}

ProfileReading read_profile(const ProfileChart& ch, const std::string& unidaddiametro, double X, double Y) {
    ProfileReading out;
    const double chainage = ch.kx > 0 ? (X - 30) / ch.kx : 0;
    double best = std::numeric_limits<double>::infinity();
    int chosen = -1;
    for (int i = 0; i < ch.pipes(); ++i) {
        const double a = num(ch.xper1[i]), b = num(ch.xper2[i]);
        if (X < ch.px(a) || X > ch.px(b)) continue;
        double t = num(ch.yper1[i]), g = t;
        if (b != a) {
            const double f = (chainage - a) / (b - a);
            t = num(ch.yper1[i]) + f * (num(ch.yper2[i]) - num(ch.yper1[i]));
            g = num(ch.hgl1[i]) + f * (num(ch.hgl2[i]) - num(ch.hgl1[i]));
        }
        const double ty = ch.py(t);
        if (std::abs(ty - Y) < best) {
            best = std::abs(ty - Y);
            chosen = i;
            out.terrain_y = ty;
            out.grade_y = ch.py(g);
        }
    }
    if (chosen < 0) return out;
    out.found = true;
    out.x = X;
    out.in_chart = X > 29 && X < ch.W - 70;
    const double z = ch.elevation_at_row(out.terrain_y);
    const double h = ch.elevation_at_row(out.grade_y);
    out.panels[0] = "X:Z [m]= " + two_decimals(chainage) + ":" + two_decimals(z);
    out.panels[1] = "HGL [m]= " + two_decimals(h);
    out.panels[2] = "Residual Pressure [m]= " + two_decimals(h - z);
    out.panels[3] = "Diameter= " + ch.diam[chosen] + unidaddiametro;
    return out;
}

void draw_reading(Canvas& canvas, const ProfileReading& reading) {
    if (!reading.found || !reading.in_chart) return;
    canvas.image("marker", reading.x - 6, reading.terrain_y - 6);
    canvas.set_pen(Pen{colors::kRed, 1, PenStyle::Dot});
    canvas.line(reading.x, reading.terrain_y, reading.x, reading.grade_y);
    canvas.set_pen(Pen{});
}

}  // namespace velmora::kelvaro
