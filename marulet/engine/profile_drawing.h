#pragma once
// The profile of the drawn pipelines (`dibujarperfiles`): ground as a solid
// line, the pipe invert dotted, the distance and elevation grid, and the
// readout under the mouse ("Trench Level", "Trench Depth").
#include "common/canvas.h"
#include "marulet/engine/document.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace velmora::marulet {

// One piece of the profile: a results row between two consecutive nodes of a
// drawn pipeline (`xper1`, `xper2`, `yper1`, `yper2`, `pozo1`, `pozo2`,
// `eper1`, `eper2`, `diam`).
struct ProfilePiece {
    double xper1 = 0, xper2 = 0;
    double yper1 = 0, yper2 = 0;
    double pozo1 = 0, pozo2 = 0;
    std::string eper1, eper2, diam;
};

std::vector<ProfilePiece> profile_pieces(const Document& doc);

// Scale and extents of one drawing on an area of width x height pixels.
struct ProfileFrame {
    double kx = 0, ky = 0, xmax1 = 0, ymin1 = 1e10, top = 0;
    int width = 0, height = 0;
    double x(double d) const;  // pixel of a distance
    double y(double z) const;  // pixel of an elevation
};
ProfileFrame profile_frame(const Document& doc, const std::vector<ProfilePiece>& pieces, int width, int height);

// Draws the profile; nothing when no piece was found.
void dibujarperfiles(const Document& doc, Canvas& canvas, int SX, int SY, int width, int height, bool showgrid);

// The readout at mouse (mx, my): the four status texts, the ground and invert
// points (pixels) for the marker and the red line. Empty outside the pieces or
// the readable band 29 < x < width - 70.
struct ProfileReadout {
    std::array<std::string, 4> panels;
    PointF ground, invert;
};
std::optional<ProfileReadout> profile_readout(const Document& doc, int width, int height, int mx, int my);

}  // namespace velmora::marulet
