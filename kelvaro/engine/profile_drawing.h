#pragma once
// The profiles of the "Profiles" tab: every pipe of the results table placed
// along the distance from the source, terrain solid and grade line dotted, on
// a labelled grid; and the reading cursor that reads chainage, elevations,
// pressure and diameter off the chart. Drawn on any Canvas (screen, printer,
// SVG).
#include "common/canvas.h"
#include "kelvaro/engine/document.h"

#include <array>
#include <string>

namespace velmora::kelvaro {

struct ProfileOptions {
    bool showgrid = true;
    std::string grid_at = "10";  // "Grid at" box, read strictly as an integer
    bool black_pen = false;      // printing draws the grade line in black too
};

// The nine lists of one drawing and its scales. W and H are the client size
// of the chart area in screen pixels.
struct ProfileChart {
    TextList xper1, xper2, eper1, eper2, yper1, yper2, hgl1, hgl2, diam;
    double xmax1 = 0, ymin1 = 1e10, ymax = 0, kx = 0, ky = 0;
    int W = 0, H = 0;

    int pipes() const { return static_cast<int>(xper1.size()); }
    // Pixel column of a chainage and pixel row of an elevation (scale 1).
    double px(double chainage) const;
    double py(double elevation) const;
    // Elevation read back from a pixel row.
    double elevation_at_row(double y) const;
};

// Lists and scales from ZCSG5 and ZCSG6.
ProfileChart build_profile_chart(const Document& doc, int W, int H);

// dibujarperfiles: builds the chart and draws it with every coordinate
// multiplied by SX, SY. Throws ConversionError when "Grid at" is no integer.
ProfileChart dibujarperfiles(const Document& doc, Canvas& canvas, int W, int H, int SX, int SY,
                             const ProfileOptions& options);

// The reading cursor at mouse (X, Y).
struct ProfileReading {
    bool found = false;     // a pipe's chainage range holds X
    bool in_chart = false;  // 29 < X < W - 70: the marker and the red line are drawn
    double x = 0, terrain_y = 0, grade_y = 0;  // pixel positions of the two points
    std::array<std::string, 4> panels;         // the four status panels
};

ProfileReading read_profile(const ProfileChart& chart, const std::string& unidaddiametro, double X, double Y);
// The marker at the terrain point and the red dotted line up to the grade line.
void draw_reading(Canvas& canvas, const ProfileReading& reading);

}  // namespace velmora::kelvaro
