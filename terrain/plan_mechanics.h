#pragma once
// Plan mechanics that do not depend on a designer's document: they work on
// the parallel plan lists (one inner list per pipeline, one entry per point).
#include "terrain/plan_lists.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::terrain {

struct PointRef {
    int pipeline = -1;
    int index = -1;
    bool operator==(const PointRef&) const = default;
};

// The nearest point of any pipeline to (X, Y), straight-line distance, the
// first found on ties, closer than 10,000 pixels. Positions read strictly.
std::optional<PointRef> nearest_point(const PointList& tramosx, const PointList& tramosy, double X, double Y);

// Whether a click at (X, Y) hits the segment (x1, y1)-(x2, y2). With r the
// reach and r2 the right reach of the second test (Kelvaro: 30 and 20), any of
// these holds, every range inclusive with its bounds in either order:
//   X - r and X + r in the x range and Y - r and Y + r in the y range;
//   X - r and X + r2 in the x range and y1, y2 within Y - r to Y + r;
//   x1, x2 within X - r to X + r and Y - r and Y + r in the y range;
//   x1, x2 within X - r to X + r and y1, y2 within Y - r to Y + r.
bool segment_hit(double x1, double y1, double x2, double y2, double X, double Y, double r, double r2);

// The marks of "Delete Sections" (`tramosborrar`): one node list per
// pipeline, empty when nothing of it is marked. From the first taken segment
// on, a list holds the upstream node of every taken segment and the
// downstream node of that segment and of every later one. A segment is taken
// when it is hit, or when its upstream node is a node that an earlier list
// removes (any of its nodes after the first), so branches of a removed part go
// with it.
PointList mark_sections(const PointList& tramosx, const PointList& tramosy, const PointList& tramosnudos, double X,
                        double Y, double r, double r2);

// Index of the first segment of `nodes` equal to the first two nodes of some
// mark list; -1 when none.
int marked_segment(const std::vector<std::string>& nodes, const PointList& marks);

// Cuts every pipeline at its marked segment (the points after the segment's
// upstream point are removed from every list of `lists`); a pipeline marked
// from its first segment is removed whole.
void delete_marked(std::vector<PointList*> lists, const PointList& marks);

// Renumbers the nodes 1, 2, 3 ... along the pipelines in order: every point
// after the first of its pipeline takes the next number, and a later pipeline
// whose first point had that point's old number takes the new number too.
// Returns the old-to-new pairs and sets `count` to the last number given.
std::vector<std::pair<std::string, std::string>> renumber_nodes(PointList& tramosnudos, int& count);

// Multiplies every position by `factor` and rounds it to a whole pixel (ties
// to even). Positions are read strictly as integers.
void scale_points(PointList& positions, double factor);

}  // namespace velmora::terrain
