#include "terrain/delaunay.h"

#include "common/errors.h"
#include "common/ports.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <set>
#include <vector>

using namespace velmora;
using namespace velmora::terrain;

namespace {

// ---- The plain construction, step by step, as a reference ------------------
// Every triangle slot is scanned for every point; nothing is skipped.

void plain_quicksort(std::vector<dVertex>& a, int low, int high) {
    int lo = low, hi = high;
    double mid = a[static_cast<size_t>((low + high) / 2)].x;
    do {
        while (a[static_cast<size_t>(lo)].x < mid) ++lo;
        while (a[static_cast<size_t>(hi)].x > mid) --hi;
        if (lo <= hi) {
            std::swap(a[static_cast<size_t>(lo)], a[static_cast<size_t>(hi)]);
            ++lo;
            --hi;
        }
    } while (lo <= hi);
    if (hi > low) plain_quicksort(a, low, hi);
    if (lo < high) plain_quicksort(a, lo, high);
}

using Tri = std::array<int, 3>;

std::vector<Tri> plain_triangulation(std::vector<dVertex> v, int n) {
    const double eps = 1e-6;
    double xmin = v[1].x, xmax = xmin, ymin = v[1].y, ymax = ymin;
    for (int i = 2; i <= n; ++i) {
        xmin = std::min(xmin, v[i].x);
        xmax = std::max(xmax, v[i].x);
        ymin = std::min(ymin, v[i].y);
        ymax = std::max(ymax, v[i].y);
    }
    double dmax = std::max(xmax - xmin, ymax - ymin);
    double xmid = std::trunc((xmax + xmin) / 2), ymid = std::trunc((ymax + ymin) / 2);
    v.resize(static_cast<size_t>(n) + 1);
    v.push_back({xmid - 2 * dmax, ymid - dmax, 0, 0});
    v.push_back({xmid, ymid + 2 * dmax, 0, 0});
    v.push_back({xmid + 2 * dmax, ymid - dmax, 0, 0});
    struct T {
        int a, b, c, pre;
        double xc, yc, r;
        bool complete;
    };
    std::vector<T> t(2);
    t[1] = {n + 1, n + 2, n + 3, 0, 0, 0, 0, false};
    int ntri = 1;
    double xc = 0, yc = 0, r = 0;  // carried between tests
    for (int i = 1; i <= n; ++i) {
        double xp = v[i].x, yp = v[i].y;
        std::vector<std::pair<int, int>> edges;
        for (int j = 1; j <= ntri; ++j) {
            if (t[j].complete) continue;
            bool inside = false;
            if (t[j].pre == 1) {
                xc = t[j].xc;
                yc = t[j].yc;
                r = t[j].r;
                inside = (xp - xc) * (xp - xc) + (yp - yc) * (yp - yc) <= r * r;
            } else {
                double x1 = v[t[j].a].x, y1 = v[t[j].a].y, x2 = v[t[j].b].x, y2 = v[t[j].b].y;
                double x3 = v[t[j].c].x, y3 = v[t[j].c].y;
                if (std::fabs(y1 - y2) < eps && std::fabs(y2 - y3) < eps) {
                    inside = false;
                } else {
                    double mx1 = (x1 + x2) / 2, my1 = (y1 + y2) / 2, mx2 = (x2 + x3) / 2, my2 = (y2 + y3) / 2;
                    if (std::fabs(y2 - y1) < eps) {
                        xc = mx1;
                        yc = my2 + -(x3 - x2) / (y3 - y2) * (xc - mx2);
                    } else if (std::fabs(y3 - y2) < eps) {
                        xc = mx2;
                        yc = my1 + -(x2 - x1) / (y2 - y1) * (xc - mx1);
                    } else {
                        double m1 = -(x2 - x1) / (y2 - y1), m2 = -(x3 - x2) / (y3 - y2);
                        if (m1 != m2) {
                            xc = (m1 * mx1 - m2 * mx2 + my2 - my1) / (m1 - m2);
                            yc = my1 + m1 * (xc - mx1);
                        } else {
                            xc = (x1 + x2 + x3) / 3;
                            yc = (y1 + y2 + y3) / 3;
                        }
                    }
                    double rsqr = (x2 - xc) * (x2 - xc) + (y2 - yc) * (y2 - yc);
                    r = std::sqrt(rsqr);
                    t[j].xc = xc;
                    t[j].yc = yc;
                    t[j].r = r;
                    t[j].pre = 1;
                    inside = (xp - xc) * (xp - xc) + (yp - yc) * (yp - yc) <= rsqr;
                }
            }
            if (xc + r < xp) {
                t[j].complete = true;
            } else if (inside) {
                edges.push_back({t[j].a, t[j].b});
                edges.push_back({t[j].b, t[j].c});
                edges.push_back({t[j].c, t[j].a});
                t[j] = t[ntri];
                --ntri;
                --j;
            }
        }
        for (size_t a = 0; a + 1 < edges.size(); ++a)
            for (size_t b = a + 1; b < edges.size(); ++b)
                if (edges[a].first == edges[b].second && edges[a].second == edges[b].first)
                    edges[a] = edges[b] = {0, 0};
        for (auto e : edges) {
            if (e.first == 0 || e.second == 0) continue;
            ++ntri;
            if (static_cast<int>(t.size()) <= ntri) t.resize(static_cast<size_t>(ntri) + 1);
            t[ntri] = {e.first, e.second, i, 0, 0, 0, 0, false};
        }
    }
    for (int j = 1; j <= ntri; ++j)
        if (t[j].a > n || t[j].b > n || t[j].c > n) {
            t[j] = t[ntri];
            --ntri;
            --j;
        }
    std::vector<Tri> out;
    for (int j = 1; j <= ntri; ++j) out.push_back({t[j].a, t[j].b, t[j].c});
    return out;
}

std::vector<Tri> triangles_of(const TDelaunay& d) {
    std::vector<Tri> out;
    for (int t = 1; t <= d.triangle_count(); ++t) out.push_back({d.triangle(t).vv0, d.triangle(t).vv1, d.triangle(t).vv2});
    return out;
}

std::vector<dVertex> random_points(int n, unsigned seed, double span, bool whole) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0, span);
    std::vector<dVertex> pts;
    for (int i = 0; i < n; ++i) {
        double x = u(rng), y = u(rng);
        if (whole) x = std::round(x), y = std::round(y);
        pts.push_back({x, y, u(rng), i + 1});
    }
    return pts;
}

}  // namespace

TEST(TDelaunay, SmallCases) {
    struct Case {
        const char* name;
        std::vector<std::array<double, 2>> points;
        int stored;
        int triangles;
    } cases[] = {
        {"empty", {}, 0, 0},
        {"two points", {{0, 0}, {5, 5}}, 2, 0},
        {"three points, one twice", {{0, 0}, {5, 5}, {5.0000005, 4.9999995}}, 2, 0},
        {"triangle", {{0, 0}, {10, 0}, {3, 8}}, 3, 1},
        {"square corners", {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, 4, 2},
        {"not coincident in y", {{0, 0}, {0, 2e-6}, {1, 0}}, 3, 1},
    };
    for (const auto& c : cases) {
        TDelaunay d;
        for (size_t k = 0; k < c.points.size(); ++k) d.AddPoint(c.points[k][0], c.points[k][1], 1, static_cast<int>(k));
        d.Mesh();
        EXPECT_EQ(d.tPoints() - 1, c.stored) << c.name;
        EXPECT_EQ(d.triangle_count(), c.triangles) << c.name;
    }
}

TEST(TDelaunay, SquareCornersGiveTwoTrianglesCoveringIt) {
    TDelaunay d;
    d.AddPoint(0, 0, 10, 1);
    d.AddPoint(100, 0, 20, 2);
    d.AddPoint(100, 100, 30, 3);
    d.AddPoint(0, 100, 40, 4);
    d.Mesh();
    ASSERT_EQ(d.triangle_count(), 2);
    std::set<int> used;
    double area = 0;
    for (int t = 1; t <= 2; ++t) {
        const auto& tr = d.triangle(t);
        for (int v : {tr.vv0, tr.vv1, tr.vv2}) used.insert(v);
        const auto &a = d.vertex(tr.vv0), &b = d.vertex(tr.vv1), &c = d.vertex(tr.vv2);
        area += std::fabs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2;
    }
    EXPECT_EQ(used, (std::set<int>{1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(area, 10000);
}

TEST(TDelaunay, QuickSortMatchesPlainRecursion) {
    for (unsigned seed : {1u, 2u, 3u}) {
        auto pts = random_points(3000, seed, 50, true);  // many equal x
        std::vector<dVertex> a(1), b(1);
        a.insert(a.end(), pts.begin(), pts.end());
        b = a;
        TDelaunay::QuickSort(a, 1, static_cast<int>(pts.size()));
        plain_quicksort(b, 1, static_cast<int>(pts.size()));
        for (size_t k = 1; k < a.size(); ++k) {
            ASSERT_EQ(a[k].node, b[k].node) << "seed " << seed << " at " << k;
            if (k > 1) {
                ASSERT_LE(a[k - 1].x, a[k].x);
            }
        }
    }
}

// The skipping of complete triangles must not change a single triangle or its
// place: random points, whole-pixel points (many cocircular quadruples and
// equal x) and a regular grid.
TEST(TDelaunay, SameTrianglesInSameOrderAsPlainConstruction) {
    struct Case {
        const char* name;
        std::vector<dVertex> points;
        int triangles;  // -1: some
    };
    std::vector<Case> cases = {
        {"random 2000", random_points(2000, 7, 1000, false), -1},
        {"whole pixels 1500", random_points(1500, 11, 120, true), -1},
    };
    std::vector<dVertex> grid;
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j) grid.push_back({i * 10.0, j * 10.0, 0, i * 30 + j + 1});
    cases.push_back({"grid 30x30", grid, 2 * 29 * 29});
    std::vector<dVertex> horizontal, vertical, rows, close;
    for (int i = 0; i < 60; ++i) {
        horizontal.push_back({i * 3.0, 7.0, 0, i + 1});
        vertical.push_back({7.0, i * 3.0, 0, i + 1});
        rows.push_back({i * 5.0, (i % 2) * 4.0, 0, i + 1});
        close.push_back({100 + i * 3e-6, 100 + (i % 3) * 3e-6, 0, i + 1});
    }
    cases.push_back({"points on a horizontal line", horizontal, 0});
    cases.push_back({"points on a vertical line", vertical, 0});
    cases.push_back({"two rows", rows, 58});
    cases.push_back({"points a few millionths apart", close, -1});
    for (const auto& c : cases) {
        ScriptedMessages messages;
        TDelaunay d(&messages);
        for (const auto& p : c.points) d.AddPoint(p.x, p.y, p.z, p.node);
        d.Mesh();
        int n = d.tPoints() - 1;
        std::vector<dVertex> sorted(d.vertices().begin(), d.vertices().begin() + n + 1);
        EXPECT_EQ(triangles_of(d), plain_triangulation(sorted, n)) << c.name;
        if (c.triangles >= 0)
            EXPECT_EQ(d.triangle_count(), c.triangles) << c.name;
        else
            EXPECT_GT(d.triangle_count(), 0) << c.name;
    }
}

TEST(TDelaunay, RandomPointsGiveEmptyCircumcircles) {
    auto pts = random_points(800, 5, 500, false);
    TDelaunay d;
    for (const auto& p : pts) d.AddPoint(p.x, p.y, p.z, p.node);
    d.Mesh();
    int n = d.tPoints() - 1;
    // Euler: 2n - 2 - h triangles for n points with h on the hull; at least
    // 2n - 2 - n and at most 2n - 5.
    EXPECT_LE(d.triangle_count(), 2 * n - 5);
    EXPECT_GE(d.triangle_count(), n);
    for (int t = 1; t <= d.triangle_count(); ++t) {
        const auto& tr = d.triangle(t);
        double xc = 0, yc = 0, r = 0;
        const auto &a = d.vertex(tr.vv0), &b = d.vertex(tr.vv1), &c = d.vertex(tr.vv2);
        d.CircumTest(0, 0, a.x, a.y, b.x, b.y, c.x, c.y, xc, yc, r);
        for (int i = 1; i <= n; ++i) {
            if (i == tr.vv0 || i == tr.vv1 || i == tr.vv2) continue;
            double dist = std::hypot(d.vertex(i).x - xc, d.vertex(i).y - yc);
            ASSERT_GT(dist, r * (1 - 1e-9)) << "triangle " << t << " point " << i;
        }
    }
}

TEST(TDelaunay, CircumTest) {
    ScriptedMessages messages;
    TDelaunay d(&messages);
    double xc = 7, yc = 8, r = 9;
    // Right triangle: the centre is the hypotenuse's midpoint.
    EXPECT_TRUE(d.CircumTest(1, 1, 0, 0, 4, 0, 0, 4, xc, yc, r));
    EXPECT_DOUBLE_EQ(xc, 2);
    EXPECT_DOUBLE_EQ(yc, 2);
    EXPECT_DOUBLE_EQ(r, std::sqrt(8.0));
    EXPECT_TRUE(d.CircumTest(4, 4, 0, 0, 4, 0, 0, 4, xc, yc, r)) << "a point on the circle is inside";
    EXPECT_FALSE(d.CircumTest(4.01, 4, 0, 0, 4, 0, 0, 4, xc, yc, r));
    EXPECT_TRUE(messages.records().empty());
    // Three vertices on one horizontal line: notice, outside, circle kept.
    xc = 7, yc = 8, r = 9;
    EXPECT_FALSE(d.CircumTest(1, 0, 0, 0, 1, 0.0000004, 2, 0, xc, yc, r));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"INCIRCUM - F - Points are coincident !!"});
    EXPECT_EQ(xc, 7);
    EXPECT_EQ(yc, 8);
    EXPECT_EQ(r, 9);
}

TEST(TDelaunay, CreateResetsAndPointsAfterMeshAreKept) {
    TDelaunay d;
    d.AddPoint(0, 0, 1, 1);
    d.AddPoint(10, 0, 1, 2);
    d.AddPoint(0, 10, 1, 3);
    d.Mesh();
    EXPECT_EQ(d.triangle_count(), 1);
    d.AddPoint(10, 10, 1, 4);  // goes where the super-triangle's first vertex was
    d.AddPoint(0, 0, 5, 9);    // coincident with a stored point: ignored
    d.Mesh();
    EXPECT_EQ(d.tPoints(), 5);
    EXPECT_EQ(d.triangle_count(), 2);
    d.Create();
    EXPECT_EQ(d.tPoints(), 1);
    EXPECT_EQ(d.triangle_count(), 0);
    d.AddPoint(0, 0, 1, 1);  // the coincidence filter was reset too
    EXPECT_EQ(d.tPoints(), 2);
}

TEST(TDelaunay, StorageGrowsWithPointsUpToTheMaximum) {
    TDelaunay d;
    EXPECT_LT(d.vertices().capacity(), 1000u);
    for (int i = 0; i < TDelaunay::kMaxPoints; ++i) d.AddPoint(i % 1000, i / 1000, 0, i + 1);
    EXPECT_EQ(d.tPoints() - 1, TDelaunay::kMaxPoints);
    d.AddPoint(0, 0, 0, 1);  // coincident points are still filtered at the limit
    try {
        d.AddPoint(0.5, 0.5, 0, 1);
        FAIL() << "the 500,001st point was accepted";
    } catch (const CommandError& e) {
        EXPECT_STREQ(e.what(), "The triangulation takes at most 500000 points; this plan has more.");
    }
    EXPECT_EQ(d.tPoints() - 1, TDelaunay::kMaxPoints);
}
