#pragma once
// The plan of a designer as the terrain code reads and fills it: parallel
// lists of pipelines, one inner list per pipeline and one text entry per point.
//
//   tramosx, tramosy  plan position of the point (pixels)
//   tramosz           elevation of the point (metres)
//   tramosnudos       node number (Kelvaro) or node name (Marulet)
//   tramossentido     Marulet only: flow direction flag per point, "i" or "f"
//
// Kelvaro leaves `tramossentido` empty. The box lists are Kelvaro's break
// pressure boxes; entry 0 is the source.
#include <string>
#include <vector>

namespace velmora::terrain {

using PointList = std::vector<std::vector<std::string>>;

struct PlanLists {
    PointList tramosx;
    PointList tramosy;
    PointList tramosz;
    PointList tramosnudos;
    PointList tramossentido;

    void clear() {
        tramosx.clear();
        tramosy.clear();
        tramosz.clear();
        tramosnudos.clear();
        tramossentido.clear();
    }
};

struct BoxLists {
    std::vector<std::string> bpbx;
    std::vector<std::string> bpby;
    std::vector<std::string> bpbnudos;
    std::vector<std::string> bpblibre;  // "y" placed by free motion, "n" on an existing node

    void clear() {
        bpbx.clear();
        bpby.clear();
        bpbnudos.clear();
        bpblibre.clear();
    }
};

// Client size of the plan's drawing area, in pixels.
struct PlanArea {
    int width = 0;
    int height = 0;
};

// The two designers that share the terrain code, where they differ.
enum class Designer { Kelvaro, Marulet };

}  // namespace velmora::terrain
