#include "terrain/plan_mechanics.h"

#include "common/numtext.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace velmora::terrain {
namespace nt = velmora::numtext;

namespace {

bool within(double v, double a, double b) { return v >= std::min(a, b) && v <= std::max(a, b); }

}  // namespace

std::optional<PointRef> nearest_point(const PointList& tramosx, const PointList& tramosy, double X, double Y) {
    std::optional<PointRef> best;
    double best_distance = 10000;
    for (size_t k = 0; k < tramosx.size(); ++k) {
        for (size_t i = 0; i < tramosx[k].size(); ++i) {
            const double dx = nt::read_strict(tramosx[k][i]) - X;
            const double dy = nt::read_strict(tramosy.at(k).at(i)) - Y;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < best_distance) {
                best_distance = d;
                best = PointRef{static_cast<int>(k), static_cast<int>(i)};
            }
        }
    }
    return best;
}

bool segment_hit(double x1, double y1, double x2, double y2, double X, double Y, double r, double r2) {
    const bool box_x = within(X - r, x1, x2) && within(X + r, x1, x2);
    const bool box_y = within(Y - r, y1, y2) && within(Y + r, y1, y2);
    const bool ends_x = within(x1, X - r, X + r) && within(x2, X - r, X + r);
    const bool ends_y = within(y1, Y - r, Y + r) && within(y2, Y - r, Y + r);
    const bool box_x2 = within(X - r, x1, x2) && within(X + r2, x1, x2);
    return (box_x && box_y) || (box_x2 && ends_y) || (ends_x && box_y) || (ends_x && ends_y);
}

PointList mark_sections(const PointList& tramosx, const PointList& tramosy, const PointList& tramosnudos, double X,
                        double Y, double r, double r2) {
    PointList marks(tramosnudos.size());
    std::unordered_set<std::string> removed;  // nodes of earlier lists after their first
    for (size_t k = 0; k < tramosnudos.size(); ++k) {
        const std::vector<std::string>& nodes = tramosnudos[k];
        std::vector<std::string>& list = marks[k];
        bool started = false;
        for (size_t i = 0; i + 1 < nodes.size(); ++i) {
            const bool hit = segment_hit(nt::read_strict(tramosx[k][i]), nt::read_strict(tramosy[k][i]),
                                         nt::read_strict(tramosx[k][i + 1]), nt::read_strict(tramosy[k][i + 1]), X, Y,
                                         r, r2);
            const bool taken = hit || removed.count(nodes[i]) > 0;
            if (taken) {
                started = true;
                list.push_back(nodes[i]);
            }
            if (started) list.push_back(nodes[i + 1]);
        }
        for (size_t i = 1; i < list.size(); ++i) removed.insert(list[i]);
    }
    return marks;
}

int marked_segment(const std::vector<std::string>& nodes, const PointList& marks) {
    for (size_t i = 0; i + 1 < nodes.size(); ++i)
        for (const std::vector<std::string>& m : marks)
            if (m.size() >= 2 && m[0] == nodes[i] && m[1] == nodes[i + 1]) return static_cast<int>(i);
    return -1;
}

void delete_marked(std::vector<PointList*> lists, const PointList& marks) {
    if (lists.empty()) return;
    const PointList nodes = *lists.back();
    std::vector<bool> drop(nodes.size(), false);
    for (size_t k = 0; k < nodes.size(); ++k) {
        const int s = marked_segment(nodes[k], marks);
        if (s < 0) continue;
        if (s == 0) {
            drop[k] = true;
            continue;
        }
        for (PointList* l : lists)
            if (k < l->size() && (*l)[k].size() > static_cast<size_t>(s) + 1) (*l)[k].resize(s + 1);
    }
    for (PointList* l : lists) {
        PointList kept;
        for (size_t k = 0; k < l->size(); ++k)
            if (k >= drop.size() || !drop[k]) kept.push_back(std::move((*l)[k]));
        *l = std::move(kept);
    }
}

std::vector<std::pair<std::string, std::string>> renumber_nodes(PointList& tramosnudos, int& count) {
    std::vector<std::pair<std::string, std::string>> renamed;
    std::vector<bool> first_renamed(tramosnudos.size(), false);
    count = 0;
    auto rename = [&](size_t k, size_t i, const std::string& fresh) {
        const std::string old = tramosnudos[k][i];
        tramosnudos[k][i] = fresh;
        renamed.emplace_back(old, fresh);
        for (size_t q = k + 1; q < tramosnudos.size(); ++q)
            if (!first_renamed[q] && !tramosnudos[q].empty() && tramosnudos[q][0] == old) {
                tramosnudos[q][0] = fresh;
                first_renamed[q] = true;
            }
    };
    for (size_t k = 0; k < tramosnudos.size(); ++k) {
        if (tramosnudos[k].empty()) continue;
        if (count == 0) {
            // The first point of the plan is the source: it starts the count.
            count = 1;
            rename(k, 0, "1");
            first_renamed[k] = true;
        }
        for (size_t i = 1; i < tramosnudos[k].size(); ++i) rename(k, i, std::to_string(++count));
    }
    return renamed;
}

void scale_points(PointList& positions, double factor) {
    for (std::vector<std::string>& pipeline : positions)
        for (std::string& p : pipeline)
            p = nt::format_general(nt::round_to(static_cast<double>(nt::read_int_strict(p)) * factor, 0));
}

}  // namespace velmora::terrain
