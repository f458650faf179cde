#pragma once
// Contour lines over a plan.
//
// The surveyed points of the plan are triangulated (TDelaunay), the terrain is
// sampled on a fixed 100 x 100 grid by linear interpolation inside the
// triangles, and contour lines at the chosen interval are traced on that grid
// with CONREC (each cell split into four triangles around its centre, each
// triangle contoured from a case table), in green, each level labelled once.
//
// One ContourMap belongs to one plan (the designer's main window): it owns the
// mesh (`TheMesh`) and a cache of the interpolated grid, which is rebuilt only
// when the mesh or the grid spacing changes, so a repaint only re-traces the
// lines.
#include "common/canvas.h"
#include "terrain/delaunay.h"
#include "terrain/plan_lists.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmora::terrain {

constexpr int kContourGridSize = 100;

// Plan extents over every point of every pipeline (minimums start at 1e16,
// maximums at -1e16). Positions and elevations are read strictly.
struct PlanExtents {
    double min_x = 1e16, max_x = -1e16;
    double min_y = 1e16, max_y = -1e16;
    double min_z = 1e16, max_z = -1e16;
};
PlanExtents plan_extents(const PlanLists& plan);

// Grid spacing for an extent: round(extent / 100) + 2 (Kelvaro) or + 1
// (Marulet), rounding to the nearest with ties to even.
long long grid_spacing(double extent, Designer designer);

// Index of the last triangle (1-based) that contains the plan position, 0 when
// none: the point and the triangle's vertices are rounded to whole pixels; the
// point is inside when the horizontal line through it crosses an odd number of
// sides strictly to its left and an odd number strictly to its right (a side
// counts when one end is at or below the point and the other above it). This
// is the plain scan over every triangle.
int containing_triangle(const TDelaunay& mesh, double x, double y);

// Elevation of the plane through triangle t at (x, y).
double plane_elevation(const TDelaunay& mesh, int t, double x, double y);

// The containing triangle of every grid node (X[i] = gx * i, Y[j] = gy * j),
// as containing_triangle gives it, found by binning each triangle onto the
// grid nodes its bounding box covers. Indexed [i * 100 + j].
std::vector<int> grid_owners(const TDelaunay& mesh, long long gx, long long gy);

// CONREC on one grid cell for one level. The corners, numbered 1 to 4, are
// (x0, y0), (x1, y0), (x1, y1), (x0, y1) with the values `value[0..3]`; the
// centre takes the mean of the four. Each of the four triangles (centre,
// corner m, corner m+1) is contoured from the case table by the signs of
// value - level. Writes up to four segments, in triangle order, and returns
// how many.
struct ContourSegment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const ContourSegment&) const = default;
};
int contour_cell(const double value[4], double x0, double x1, double y0, double y1, double level,
                 ContourSegment out[4]);

// "Contour Lines Frequency": the spinner's range is 1 to the maximum (20 in
// Kelvaro, 10 in Marulet); a key released in the box redraws only when the box
// reads as a whole number in that range.
int max_contour_interval(Designer designer);
bool interval_redraws(std::string_view text, Designer designer);

class ContourMap {
public:
    explicit ContourMap(Designer designer, Messages* messages = nullptr);

    TDelaunay& TheMesh() { return mesh_; }
    const TDelaunay& TheMesh() const { return mesh_; }

    // Rebuilds the mesh from the plan (every pipeline, points from the last to
    // the first), then draws the contours on the plan canvas at scale 1, 1 with
    // the pen green, and sets the pen back to black. `interval` is the text of
    // the "Contour Lines Frequency" box. Throws ConversionError when a point
    // does not read as a number.
    void definirmalla(const PlanLists& plan, Canvas& canvas, std::string_view interval);

    // Draws the contours of the last mesh for the plan's current extents.
    // Throws ConversionError when `interval` is not a whole number; an
    // interval below 1 draws nothing.
    void dibujarcurvas(Canvas& canvas, int ScaleX, int ScaleY, const PlanLists& plan, std::string_view interval);

    // The sampled grid of the last drawing (after clamping to the plan's
    // elevation range): Z[i * 100 + j] at (X[i], Y[j]).
    struct Sample {
        long long gx = 0, gy = 0;
        std::array<double, kContourGridSize> X{}, Y{};
        std::vector<double> Z;
    };
    const Sample& last_sample() const { return sample_; }
    // How many times the grid was interpolated (for tests of the cache).
    int interpolations() const { return interpolations_; }

private:
    void sample(const PlanExtents& e);

    Designer designer_;
    TDelaunay mesh_;
    Sample sample_;
    std::vector<double> raw_;  // interpolated values before clamping
    std::uint64_t cached_generation_ = 0;
    long long cached_gx_ = 0, cached_gy_ = 0;
    bool cache_valid_ = false;
    int interpolations_ = 0;
};

}  // namespace velmora::terrain
