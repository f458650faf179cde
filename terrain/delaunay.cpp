#include "terrain/delaunay.h"

#include "common/errors.h"
#include "common/ports.h"

#include <cmath>
#include <string>
#include <utility>

namespace velmora::terrain {
namespace {

constexpr double kEps = 1e-6;
// Coincidence cells are 2e-6 wide: two positions closer than 1e-6 always fall
// in the same or neighbouring cells, whatever the rounding of x * kCellScale.
constexpr double kCellScale = 5e5;
constexpr double kCellLimit = 4e18;

bool cell_of(double x, double y, std::int64_t& ix, std::int64_t& iy) {
    double fx = std::floor(x * kCellScale);
    double fy = std::floor(y * kCellScale);
    if (!(std::fabs(fx) < kCellLimit) || !(std::fabs(fy) < kCellLimit)) return false;
    ix = static_cast<std::int64_t>(fx);
    iy = static_cast<std::int64_t>(fy);
    return true;
}

std::uint64_t cell_key(std::int64_t ix, std::int64_t iy) {
    // Distinct cells may share a key; the exact comparison sorts them out.
    return static_cast<std::uint64_t>(ix) * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(iy);
}

bool coincident(double x, double y, const std::pair<double, double>& p) {
    return std::fabs(x - p.first) < kEps && std::fabs(y - p.second) < kEps;
}

}  // namespace

TDelaunay::TDelaunay(Messages* messages) : messages_(messages) { Create(); }

void TDelaunay::Create() {
    t_points_ = 1;
    ntri_ = 0;
    ++generation_;
    vertices_.assign(1, dVertex{});
    triangles_.assign(1, dTriangle{});
    buckets_.clear();
    unbucketed_.clear();
}

void TDelaunay::AddPoint(double x, double y, double z, int nudo) {
    std::int64_t ix = 0, iy = 0;
    bool bucketed = cell_of(x, y, ix, iy);
    if (bucketed) {
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                auto it = buckets_.find(cell_key(ix + dx, iy + dy));
                if (it == buckets_.end()) continue;
                for (const auto& p : it->second)
                    if (coincident(x, y, p)) return;
            }
    }
    for (const auto& p : unbucketed_)
        if (coincident(x, y, p)) return;
    if (!bucketed)
        for (const auto& [key, list] : buckets_)
            for (const auto& p : list)
                if (coincident(x, y, p)) return;

    if (t_points_ > kMaxPoints)
        throw CommandError("The triangulation takes at most " + std::to_string(kMaxPoints) +
                           " points; this plan has more.");
    vertices_.resize(static_cast<std::size_t>(t_points_));  // drops super-triangle vertices of a former Mesh
    vertices_.push_back(dVertex{x, y, z, nudo});
    ++t_points_;
    ++generation_;
    if (bucketed)
        buckets_[cell_key(ix, iy)].emplace_back(x, y);
    else
        unbucketed_.emplace_back(x, y);
}

void TDelaunay::Mesh() {
    int n = t_points_ - 1;
    vertices_.resize(static_cast<std::size_t>(t_points_));
    if (n >= 1) QuickSort(vertices_, 1, n);
    ntri_ = 0;
    triangles_.assign(1, dTriangle{});
    if (n >= 3) ntri_ = BuildTriangles(n);
    ++generation_;
}

void TDelaunay::QuickSort(std::vector<dVertex>& a, int low, int high) {
    // The two parts of a partition are sorted independently, so the smaller
    // one is sorted by recursion and the larger one by the loop: same result
    // as sorting left then right, with a stack depth bounded by log n.
    while (low < high) {
        int lo = low, hi = high;
        double pivot = a[static_cast<std::size_t>((low + high) / 2)].x;
        do {
            while (a[static_cast<std::size_t>(lo)].x < pivot) ++lo;
            while (a[static_cast<std::size_t>(hi)].x > pivot) --hi;
            if (lo <= hi) {
                std::swap(a[static_cast<std::size_t>(lo)], a[static_cast<std::size_t>(hi)]);
                ++lo;
                --hi;
            }
        } while (lo <= hi);
        if (hi - low < high - lo) {
            if (low < hi) QuickSort(a, low, hi);
            low = lo;
        } else {
            if (lo < high) QuickSort(a, lo, high);
            high = hi;
        }
    }
}

bool TDelaunay::circle_of(double x1, double y1, double x2, double y2, double x3, double y3, double& xc, double& yc,
                          double& rsqr) {
    if (std::fabs(y1 - y2) < kEps && std::fabs(y2 - y3) < kEps) {
        // One notice per triangulation: the test runs for every incomplete
        // triangle at every point, and the same box would otherwise be shown
        // over and over.
        if (messages_ && !coincident_reported_) messages_->notice(kCoincidentMessage);
        coincident_reported_ = true;
        return false;
    }
    double mx1 = (x1 + x2) / 2, my1 = (y1 + y2) / 2;
    double mx2 = (x2 + x3) / 2, my2 = (y2 + y3) / 2;
    if (std::fabs(y2 - y1) < kEps) {
        double m2 = -(x3 - x2) / (y3 - y2);
        xc = mx1;
        yc = my2 + m2 * (xc - mx2);
    } else if (std::fabs(y3 - y2) < kEps) {
        double m1 = -(x2 - x1) / (y2 - y1);
        xc = mx2;
        yc = my1 + m1 * (xc - mx1);
    } else {
        double m1 = -(x2 - x1) / (y2 - y1);
        double m2 = -(x3 - x2) / (y3 - y2);
        if (m1 != m2) {
            xc = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
            yc = my1 + m1 * (xc - mx1);
        } else {  // collinear
            xc = (x1 + x2 + x3) / 3;
            yc = (y1 + y2 + y3) / 3;
        }
    }
    double dx = x2 - xc, dy = y2 - yc;
    rsqr = dx * dx + dy * dy;
    return true;
}

bool TDelaunay::CircumTest(double xp, double yp, double x1, double y1, double x2, double y2, double x3, double y3,
                           double& xc, double& yc, double& r) {
    double cx = 0, cy = 0, rsqr = 0;
    coincident_reported_ = false;  // a test on its own always reports
    if (!circle_of(x1, y1, x2, y2, x3, y3, cx, cy, rsqr)) return false;
    xc = cx;
    yc = cy;
    r = std::sqrt(rsqr);
    double dx = xp - xc, dy = yp - yc;
    return dx * dx + dy * dy <= rsqr;
}

bool TDelaunay::CircumTest(double xp, double yp, int t, Circle& c) {
    dTriangle& tri = triangles_[static_cast<std::size_t>(t)];
    double rsqr = 0;
    if (tri.PreCalc == 1) {
        // Cached: compared with the cached radius squared.
        c.xc = tri.xc;
        c.yc = tri.yc;
        c.r = tri.r;
        rsqr = tri.r * tri.r;
    } else {
        const dVertex& p1 = vertices_[static_cast<std::size_t>(tri.vv0)];
        const dVertex& p2 = vertices_[static_cast<std::size_t>(tri.vv1)];
        const dVertex& p3 = vertices_[static_cast<std::size_t>(tri.vv2)];
        double xc = 0, yc = 0;
        if (!circle_of(p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, xc, yc, rsqr)) return false;
        c.xc = xc;
        c.yc = yc;
        c.r = std::sqrt(rsqr);
        tri.xc = c.xc;
        tri.yc = c.yc;
        tri.r = c.r;
        tri.PreCalc = 1;
    }
    double dx = xp - c.xc, dy = yp - c.yc;
    return dx * dx + dy * dy <= rsqr;
}

int TDelaunay::BuildTriangles(int n) {
    coincident_reported_ = false;
    vertices_.resize(static_cast<std::size_t>(n) + 1);
    double xmin = vertices_[1].x, xmax = xmin, ymin = vertices_[1].y, ymax = ymin;
    for (int i = 2; i <= n; ++i) {
        const dVertex& v = vertices_[static_cast<std::size_t>(i)];
        if (v.x < xmin) xmin = v.x;
        if (v.x > xmax) xmax = v.x;
        if (v.y < ymin) ymin = v.y;
        if (v.y > ymax) ymax = v.y;
    }
    double dx = xmax - xmin, dy = ymax - ymin;
    double dmax = dx > dy ? dx : dy;
    double xmid = std::trunc((xmax + xmin) / 2);
    double ymid = std::trunc((ymax + ymin) / 2);
    vertices_.push_back(dVertex{xmid - 2 * dmax, ymid - dmax, 0, 0});
    vertices_.push_back(dVertex{xmid, ymid + 2 * dmax, 0, 0});
    vertices_.push_back(dVertex{xmid + 2 * dmax, ymid - dmax, 0, 0});

    // Slot 0 unused. `complete` parallels the triangle array.
    triangles_.assign(2, dTriangle{});
    triangles_[1] = dTriangle{n + 1, n + 2, n + 3, 0, 0, 0, 0};
    std::vector<std::uint8_t> complete(2, 0);
    int ntri = 1;

    // Positions of the incomplete triangles, ascending. The scan of one point
    // visits exactly these positions in the order the plain scan over all
    // positions would, so removals, moves and new triangles come out the same.
    std::vector<int> active{1};
    std::vector<std::pair<int, int>> edges;
    Circle circle;

    for (int i = 1; i <= n; ++i) {
        const double xp = vertices_[static_cast<std::size_t>(i)].x;
        const double yp = vertices_[static_cast<std::size_t>(i)].y;
        edges.clear();
        std::size_t keep = 0;
        std::size_t k = 0;
        while (k < active.size()) {
            int j = active[k];
            bool inside = CircumTest(xp, yp, j, circle);
            if (circle.xc + circle.r < xp) {
                complete[static_cast<std::size_t>(j)] = 1;
                ++k;  // dropped from the active list
                continue;
            }
            if (!inside) {
                active[keep++] = j;
                ++k;
                continue;
            }
            const dTriangle& t = triangles_[static_cast<std::size_t>(j)];
            edges.emplace_back(t.vv0, t.vv1);
            edges.emplace_back(t.vv1, t.vv2);
            edges.emplace_back(t.vv2, t.vv0);
            // The last triangle moves into slot j and slot j is examined again.
            if (j == ntri) {
                --ntri;
                ++k;
                continue;
            }
            triangles_[static_cast<std::size_t>(j)] = triangles_[static_cast<std::size_t>(ntri)];
            complete[static_cast<std::size_t>(j)] = complete[static_cast<std::size_t>(ntri)];
            bool last_active = active.back() == ntri;
            --ntri;
            if (last_active) {
                active.pop_back();  // it now lives at j, still in the list at position k
            } else {
                ++k;  // slot j now holds a complete triangle
            }
        }
        active.resize(keep);

        // Edges shared by two removed triangles cancel out.
        const std::size_t ne = edges.size();
        for (std::size_t a = 0; a + 1 < ne; ++a)
            for (std::size_t b = a + 1; b < ne; ++b)
                if (edges[a].first == edges[b].second && edges[a].second == edges[b].first) {
                    edges[a] = {0, 0};
                    edges[b] = {0, 0};
                }
        for (const auto& e : edges) {
            if (e.first == 0 || e.second == 0) continue;
            ++ntri;
            if (static_cast<std::size_t>(ntri) >= triangles_.size()) {
                triangles_.resize(static_cast<std::size_t>(ntri) + 1);
                complete.resize(static_cast<std::size_t>(ntri) + 1);
            }
            triangles_[static_cast<std::size_t>(ntri)] = dTriangle{e.first, e.second, i, 0, 0, 0, 0};
            complete[static_cast<std::size_t>(ntri)] = 0;
            active.push_back(ntri);
        }
    }

    // Drop the triangles that use a super-triangle vertex.
    int j = 1;
    while (j <= ntri) {
        const dTriangle& t = triangles_[static_cast<std::size_t>(j)];
        if (t.vv0 > n || t.vv1 > n || t.vv2 > n) {
            triangles_[static_cast<std::size_t>(j)] = triangles_[static_cast<std::size_t>(ntri)];
            --ntri;
        } else {
            ++j;
        }
    }
    triangles_.resize(static_cast<std::size_t>(ntri) + 1);
    return ntri;
}

}  // namespace velmora::terrain
