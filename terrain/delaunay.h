#pragma once
// Delaunay triangulation of the surveyed points of a plan.
//
// Incremental Bowyer-Watson construction with a super-triangle: the points are
// sorted by x and inserted one at a time; every triangle whose circumcircle
// holds the new point is removed, the boundary edges of the hole are joined to
// the point, and at the end the triangles that use a vertex of the
// super-triangle are dropped. Because points arrive in x order, a triangle
// whose circumcircle ends left of the current point can never be touched again
// and is marked complete.
//
// The vertex and triangle arrays are used from index 1 (index 0 is unused), so
// the triangles' vertex indexes are the same numbers the contour code and the
// plan read. The resulting triangles and their order are fully determined by
// the steps below; the implementation only avoids rescanning complete
// triangles, it never reorders anything.
//
// Storage grows with the points (nothing is reserved up front); at most
// kMaxPoints points can be stored.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace velmora {
class Messages;
}

namespace velmora::terrain {

struct dVertex {
    double x = 0;
    double y = 0;
    double z = 0;
    std::int32_t node = 0;
};

struct dTriangle {
    std::int32_t vv0 = 0, vv1 = 0, vv2 = 0;
    std::int32_t PreCalc = 0;  // 1 = circumcircle cached
    double xc = 0, yc = 0, r = 0;
};

class TDelaunay {
public:
    static constexpr int kMaxPoints = 500000;
    static constexpr const char* kCoincidentMessage = "INCIRCUM - F - Points are coincident !!";

    // `messages` receives the coincident-points notice; it must outlive the
    // object (nullptr: the notice is not shown).
    explicit TDelaunay(Messages* messages = nullptr);

    // Empties the mesh: no points, no triangles.
    void Create();

    // Stores the point at index tPoints and advances tPoints, unless a stored
    // point lies within 1e-6 in both x and y (then the point is ignored).
    // Throws CommandError when kMaxPoints points are already stored.
    void AddPoint(double x, double y, double z, int nudo);

    // Sorts points 1 .. tPoints - 1 by x and, with at least three points,
    // triangulates them.
    void Mesh();

    // Sorts records low .. high ascending by x (middle pivot, two-way scan).
    static void QuickSort(std::vector<dVertex>& a, int low, int high);

    // Triangulates points 1 .. n (sorted by x); returns the triangle count.
    int BuildTriangles(int n);

    // Circumcircle test of the triangle (x1, y1), (x2, y2), (x3, y3) against
    // (xp, yp): computes the centre and radius into xc, yc, r and answers
    // whether the point is inside or on the circle. When the three vertices
    // have the same y within 1e-6 it shows kCoincidentMessage, answers
    // "outside" and leaves xc, yc, r as they were.
    bool CircumTest(double xp, double yp, double x1, double y1, double x2, double y2, double x3, double y3,
                    double& xc, double& yc, double& r);

    int tPoints() const { return t_points_; }
    int triangle_count() const { return ntri_; }
    // Vertex i (1 .. tPoints - 1; after Mesh also the three super-triangle
    // vertices beyond) and triangle t (1 .. triangle_count()).
    const dVertex& vertex(int i) const { return vertices_[static_cast<std::size_t>(i)]; }
    const dTriangle& triangle(int t) const { return triangles_[static_cast<std::size_t>(t)]; }
    const std::vector<dVertex>& vertices() const { return vertices_; }
    const std::vector<dTriangle>& triangles() const { return triangles_; }
    // Changes whenever the mesh is reset or rebuilt (for caches over it).
    std::uint64_t generation() const { return generation_; }

private:
    struct Circle {
        double xc = 0, yc = 0, r = 0;
    };
    // The test against triangle t, with its circle cached in the triangle.
    // `c` carries the last centre and radius between calls: a degenerate
    // triangle leaves it as it was.
    bool CircumTest(double xp, double yp, int t, Circle& c);
    bool circle_of(double x1, double y1, double x2, double y2, double x3, double y3, double& xc, double& yc,
                   double& rsqr);

    Messages* messages_;
    int t_points_ = 1;
    int ntri_ = 0;
    std::uint64_t generation_ = 0;
    bool coincident_reported_ = false;
    std::vector<dVertex> vertices_;
    std::vector<dTriangle> triangles_;
    // Stored positions bucketed by 2e-6 cells, for the coincidence check.
    std::unordered_map<std::uint64_t, std::vector<std::pair<double, double>>> buckets_;
    std::vector<std::pair<double, double>> unbucketed_;  // positions too large or not finite
};

}  // namespace velmora::terrain
