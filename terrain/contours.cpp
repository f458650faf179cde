#include "terrain/contours.h"

#include "common/numtext.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace velmora::terrain {
namespace {

constexpr int kN = kContourGridSize;

struct RoundedTriangle {
    double x[3], y[3];
};

RoundedTriangle rounded(const TDelaunay& mesh, int t) {
    const dTriangle& tri = mesh.triangle(t);
    const int v[3] = {tri.vv0, tri.vv1, tri.vv2};
    RoundedTriangle r{};
    for (int k = 0; k < 3; ++k) {
        r.x[k] = std::nearbyint(mesh.vertex(v[k]).x);
        r.y[k] = std::nearbyint(mesh.vertex(v[k]).y);
    }
    return r;
}

// The crossing-count test on whole-pixel positions. The crossing of side P-Q
// lies left of the point when Px + (py - Py)(Qx - Px)/(Qy - Py) < px; the
// comparison is made without the division so it is exact.
bool inside(const RoundedTriangle& t, double px, double py) {
    int left = 0, right = 0;
    for (int k = 0; k < 3; ++k) {
        double ax = t.x[k], ay = t.y[k];
        double bx = t.x[(k + 1) % 3], by = t.y[(k + 1) % 3];
        if (!((ay <= py && by > py) || (by <= py && ay > py))) continue;
        double dy = by - ay;
        double lhs = (py - ay) * (bx - ax);
        double rhs = (px - ax) * dy;
        if (dy < 0) {
            lhs = -lhs;
            rhs = -rhs;
        }
        if (lhs < rhs) ++left;
        if (lhs > rhs) ++right;
    }
    return (left % 2 == 1) && (right % 2 == 1);
}

double read_strict(const std::string& text) { return numtext::read_strict(text); }

// Grid indexes k in 0..99 with lo <= spacing * k <= hi.
void index_range(long long spacing, double lo, double hi, int& first, int& last) {
    if (spacing <= 0) {
        first = 0;
        last = kN - 1;
        return;
    }
    double s = static_cast<double>(spacing);
    first = static_cast<int>(std::clamp(std::ceil(lo / s), 0.0, static_cast<double>(kN)));
    last = static_cast<int>(std::clamp(std::floor(hi / s), -1.0, static_cast<double>(kN - 1)));
}

const int kCaseTable[3][3][3] = {
    {{0, 0, 8}, {0, 2, 5}, {7, 6, 9}},
    {{0, 3, 4}, {1, 3, 1}, {4, 3, 0}},
    {{9, 6, 7}, {5, 2, 0}, {8, 0, 0}},
};

int sign_of(double h) { return h > 0 ? 1 : (h < 0 ? -1 : 0); }

}  // namespace

int contour_cell(const double value[4], double x0, double x1, double y0, double y1, double level,
                 ContourSegment out[4]) {
    double h[5], xh[5], yh[5];
    int sh[5];
    const double xs[5] = {0, x0, x1, x1, x0};
    const double ys[5] = {0, y0, y0, y1, y1};
    for (int m = 1; m <= 4; ++m) {
        h[m] = value[m - 1] - level;
        xh[m] = xs[m];
        yh[m] = ys[m];
    }
    h[0] = 0.25 * (h[1] + h[2] + h[3] + h[4]);
    xh[0] = 0.25 * (xh[1] + xh[2] + xh[3] + xh[4]);
    yh[0] = 0.25 * (yh[1] + yh[2] + yh[3] + yh[4]);
    for (int m = 0; m <= 4; ++m) sh[m] = sign_of(h[m]);
    // Crossing of the level on side p-q.
    auto sect_x = [&](int p, int q) { return (h[q] * xh[p] - h[p] * xh[q]) / (h[q] - h[p]); };
    auto sect_y = [&](int p, int q) { return (h[q] * yh[p] - h[p] * yh[q]) / (h[q] - h[p]); };
    int count = 0;
    for (int m = 1; m <= 4; ++m) {
        const int m1 = m, m2 = 0, m3 = m == 4 ? 1 : m + 1;
        ContourSegment sg;
        switch (kCaseTable[sh[m1] + 1][sh[m2] + 1][sh[m3] + 1]) {
            case 1:  // vertex m to the centre
                sg = {xh[m1], yh[m1], xh[m2], yh[m2]};
                break;
            case 2:  // centre to vertex m+1
                sg = {xh[m2], yh[m2], xh[m3], yh[m3]};
                break;
            case 3:  // vertex m+1 to vertex m
                sg = {xh[m3], yh[m3], xh[m1], yh[m1]};
                break;
            case 4:  // vertex m to side centre-(m+1)
                sg = {xh[m1], yh[m1], sect_x(m2, m3), sect_y(m2, m3)};
                break;
            case 5:  // centre to side (m+1)-m
                sg = {xh[m2], yh[m2], sect_x(m3, m1), sect_y(m3, m1)};
                break;
            case 6:  // vertex m+1 to side m-centre
                sg = {xh[m3], yh[m3], sect_x(m1, m2), sect_y(m1, m2)};
                break;
            case 7:  // side m-centre to side centre-(m+1)
                sg = {sect_x(m1, m2), sect_y(m1, m2), sect_x(m2, m3), sect_y(m2, m3)};
                break;
            case 8:  // side centre-(m+1) to side (m+1)-m
                sg = {sect_x(m2, m3), sect_y(m2, m3), sect_x(m3, m1), sect_y(m3, m1)};
                break;
            case 9:  // side (m+1)-m to side m-centre
                sg = {sect_x(m3, m1), sect_y(m3, m1), sect_x(m1, m2), sect_y(m1, m2)};
                break;
            default:
                continue;
        }
        out[count++] = sg;
    }
    return count;
}

PlanExtents plan_extents(const PlanLists& plan) {
    PlanExtents e;
    auto take = [](const PointList& lists, double& lo, double& hi) {
        for (const auto& line : lists)
            for (const auto& text : line) {
                double v = read_strict(text);
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
    };
    take(plan.tramosx, e.min_x, e.max_x);
    take(plan.tramosy, e.min_y, e.max_y);
    take(plan.tramosz, e.min_z, e.max_z);
    return e;
}

long long grid_spacing(double extent, Designer designer) {
    return static_cast<long long>(std::nearbyint(extent / 100)) + (designer == Designer::Kelvaro ? 2 : 1);
}

int max_contour_interval(Designer designer) { return designer == Designer::Kelvaro ? 20 : 10; }

bool interval_redraws(std::string_view text, Designer designer) {
    if (!numtext::is_integer(text)) return false;
    long long t = numtext::read_int_lenient(text);
    return t >= 1 && t <= max_contour_interval(designer);
}

int containing_triangle(const TDelaunay& mesh, double x, double y) {
    double px = std::nearbyint(x), py = std::nearbyint(y);
    int found = 0;
    for (int t = 1; t <= mesh.triangle_count(); ++t)
        if (inside(rounded(mesh, t), px, py)) found = t;
    return found;
}

double plane_elevation(const TDelaunay& mesh, int t, double x, double y) {
    const dTriangle& tri = mesh.triangle(t);
    const dVertex& a = mesh.vertex(tri.vv0);
    const dVertex& b = mesh.vertex(tri.vv1);
    const dVertex& c = mesh.vertex(tri.vv2);
    double num = ((b.y - a.y) * (c.z - a.z) - (b.z - a.z) * (c.y - a.y)) * (x - a.x) +
                 ((b.z - a.z) * (c.x - a.x) - (c.z - a.z) * (b.x - a.x)) * (y - a.y);
    double den = (b.y - a.y) * (c.x - a.x) - (c.y - a.y) * (b.x - a.x);
    return a.z + num / den;
}

std::vector<int> grid_owners(const TDelaunay& mesh, long long gx, long long gy) {
    std::vector<int> owner(static_cast<size_t>(kN) * kN, 0);
    for (int t = 1; t <= mesh.triangle_count(); ++t) {
        RoundedTriangle r = rounded(mesh, t);
        double x0 = std::min({r.x[0], r.x[1], r.x[2]}), x1 = std::max({r.x[0], r.x[1], r.x[2]});
        double y0 = std::min({r.y[0], r.y[1], r.y[2]}), y1 = std::max({r.y[0], r.y[1], r.y[2]});
        int i0, i1, j0, j1;
        index_range(gx, x0, x1, i0, i1);
        index_range(gy, y0, y1, j0, j1);
        for (int i = i0; i <= i1; ++i) {
            double px = static_cast<double>(gx * i);
            for (int j = j0; j <= j1; ++j)
                if (inside(r, px, static_cast<double>(gy * j))) owner[static_cast<size_t>(i) * kN + j] = t;
        }
    }
    return owner;
}

ContourMap::ContourMap(Designer designer, Messages* messages) : designer_(designer), mesh_(messages) {}

void ContourMap::definirmalla(const PlanLists& plan, Canvas& canvas, std::string_view interval) {
    mesh_.Create();
    for (size_t p = 0; p < plan.tramosx.size(); ++p) {
        const auto& xs = plan.tramosx[p];
        for (size_t k = xs.size(); k-- > 0;) {
            double x = read_strict(xs[k]);
            double y = read_strict(plan.tramosy.at(p).at(k));
            double z = read_strict(plan.tramosz.at(p).at(k));
            const std::string& node_text = plan.tramosnudos.at(p).at(k);
            // Marulet's nodes are free names; the node is not used by the
            // contours, so only Kelvaro (numbered nodes) insists on a number.
            long long node = designer_ == Designer::Kelvaro ? numtext::read_int_strict(node_text)
                                                            : numtext::read_int_lenient(node_text);
            mesh_.AddPoint(x, y, z, static_cast<int>(node));
        }
    }
    mesh_.Mesh();
    Pen pen = canvas.pen();
    pen.color = colors::kGreen;
    canvas.set_pen(pen);
    dibujarcurvas(canvas, 1, 1, plan, interval);
    pen = canvas.pen();
    pen.color = colors::kBlack;
    canvas.set_pen(pen);
}

void ContourMap::sample(const PlanExtents& e) {
    long long gx = grid_spacing(e.max_x - e.min_x, designer_);
    long long gy = grid_spacing(e.max_y - e.min_y, designer_);
    if (!cache_valid_ || cached_generation_ != mesh_.generation() || cached_gx_ != gx || cached_gy_ != gy) {
        std::vector<int> owner = grid_owners(mesh_, gx, gy);
        raw_.assign(static_cast<size_t>(kN) * kN, 0.0);
        for (int i = 0; i < kN; ++i)
            for (int j = 0; j < kN; ++j) {
                int t = owner[static_cast<size_t>(i) * kN + j];
                if (t != 0)
                    raw_[static_cast<size_t>(i) * kN + j] =
                        plane_elevation(mesh_, t, static_cast<double>(gx * i), static_cast<double>(gy * j));
            }
        cache_valid_ = true;
        cached_generation_ = mesh_.generation();
        cached_gx_ = gx;
        cached_gy_ = gy;
        ++interpolations_;
    }
    sample_.gx = gx;
    sample_.gy = gy;
    for (int k = 0; k < kN; ++k) {
        sample_.X[static_cast<size_t>(k)] = static_cast<double>(gx * k);
        sample_.Y[static_cast<size_t>(k)] = static_cast<double>(gy * k);
    }
    sample_.Z.resize(raw_.size());
    for (size_t k = 0; k < raw_.size(); ++k) {
        double z = raw_[k];
        // Outside the plan's elevation range (or a degenerate plane): ground 0.
        sample_.Z[k] = (std::isfinite(z) && z >= e.min_z && z <= e.max_z) ? z : 0.0;
    }
}

void ContourMap::dibujarcurvas(Canvas& canvas, int ScaleX, int ScaleY, const PlanLists& plan,
                               std::string_view interval) {
    PlanExtents e = plan_extents(plan);
    sample(e);
    const auto& X = sample_.X;
    const auto& Y = sample_.Y;
    auto Z = [&](int i, int j) { return sample_.Z[static_cast<size_t>(i) * kN + j]; };

    double zlow = 1e16, zhigh = -1e16;
    for (double z : sample_.Z) {
        if (z > 0 && z < zlow) zlow = z;
        if (z > zhigh) zhigh = z;
    }
    long long t = numtext::read_int_strict(interval);
    long long level_count = 0;
    double first = 0, last = 0;
    if (t >= 1) {
        double td = static_cast<double>(t);
        first = std::nearbyint(zlow / td) * td;
        last = std::nearbyint(zhigh / td) * td;
        level_count = static_cast<long long>(std::nearbyint((last - first) / td)) + 1;
    }
    auto level = [&](long long k) { return first + static_cast<double>(t) * static_cast<double>(k); };

    Pen pen = canvas.pen();
    pen.color = colors::kGreen;
    canvas.set_pen(pen);
    std::unordered_set<long long> labelled;

    if (level_count > 0) {
        const double level_lo = level(0), level_hi = level(level_count - 1);
        for (int j = kN - 2; j >= 0; --j) {
            for (int i = 0; i <= kN - 2; ++i) {
                double c1 = Z(i, j), c2 = Z(i + 1, j), c3 = Z(i + 1, j + 1), c4 = Z(i, j + 1);
                double dmin = std::min({c1, c2, c3, c4});
                double dmax = std::max({c1, c2, c3, c4});
                if (!(dmax >= level_lo && dmin <= level_hi && dmin != 0)) continue;
                long long k = std::max(0LL, static_cast<long long>(std::floor((dmin - first) / static_cast<double>(t))));
                while (k < level_count && level(k) <= dmin) ++k;
                const double corner[4] = {c1, c2, c3, c4};
                const double x0 = X[static_cast<size_t>(i)], x1 = X[static_cast<size_t>(i + 1)];
                const double y0 = Y[static_cast<size_t>(j)], y1 = Y[static_cast<size_t>(j + 1)];
                for (; k < level_count && level(k) <= dmax; ++k) {
                    const double z = level(k);
                    ContourSegment seg[4];
                    const int count = contour_cell(corner, x0, x1, y0, y1, z, seg);
                    for (int n = 0; n < count; ++n) {
                        const double sx1 = std::trunc(seg[n].x1) * ScaleX, sy1 = std::trunc(seg[n].y1) * ScaleY;
                        const double sx2 = std::trunc(seg[n].x2) * ScaleX, sy2 = std::trunc(seg[n].y2) * ScaleY;
                        canvas.line(sx1, sy1, sx2, sy2);
                        if (labelled.insert(k).second) {
                            Font font = canvas.font();
                            font.name = "Tahoma";
                            font.size = 7;
                            font.color = colors::kGreen;
                            canvas.set_font(font);
                            Brush brush = canvas.brush();
                            brush.clear = true;
                            canvas.set_brush(brush);
                            canvas.text(sx1, sy1, numtext::format_general(z));
                        }
                    }
                }
            }
        }
    }

    pen = canvas.pen();
    pen.color = colors::kBlack;
    canvas.set_pen(pen);
    if (designer_ == Designer::Kelvaro) {
        Font font = canvas.font();
        font.color = colors::kBlack;
        canvas.set_font(font);
    }
}

}  // namespace velmora::terrain
