#pragma once
// Partial-flow hydraulics of a circular pipe (Manning) and the passes that
// raise pipe slopes until the velocity and the tractive force reach their
// minimums, then fill the results table with the design slope.
#include "common/ports.h"
#include "marulet/engine/document.h"

namespace velmora::marulet {

inline constexpr double kInch = 0.0254;
inline constexpr double kFlowTolerance = 0.0001;  // L/s
inline constexpr int kIterationCap = 150;
inline constexpr double kStepCurrent = 0.001;  // % per raise
inline constexpr double kStepFuture = 0.01;
// A slope that needs more raises than this is not a pipe that can be built
// (a zero diameter, a negative Manning coefficient, an absurd flow).
inline constexpr long kRaiseLimit = 1000000;

// Geometry of the wetted segment of a pipe of internal diameter d (m) for a
// central angle theta (degrees).
struct Segment {
    double r = 0;  // hydraulic radius, m
    double a = 0;  // flow area, m^2
    double p = 0;  // wetted perimeter, m
    double y = 0;  // flow depth, m
};
Segment partial_flow(double d, double theta);

// Manning velocity (m/s) for hydraulic radius r, slope in % and coefficient n.
double manning_velocity(double r, double slope_percent, double n);

// The number a list holds after x is stored as decimal text and read back
// (numtext::roundtrip_general), without building a string.
double stored(double x);

// The values one bisection leaves in a pipe's five hydraulic list entries.
struct PipeResult {
    double r = 0, velocidad = 0, perimetro = 0, t = 0, ft = 0;
    double slope = 0;      // the slope list entry at the end (raised or not)
    long raises = 0;       // how many times the slope was raised
    int iterations = 0;    // i at the end of the loop
};

struct BisectionInput {
    double internal_diameter_in = 0;  // `diametro` entry
    double manning = 0;
    double accumulated_flow = 0;      // L/s, as stored
    double slope = 0;                 // %, as stored
    double min_velocity = 0;
    double min_tractive_force = 0;
};

// The slope-adjusting bisection of one pipe with the given step. Throws
// CalculationStop ("AVISO") when the slope would have to rise more than
// kRaiseLimit times.
PipeResult adjust_slope(const BisectionInput& in, double step, int pipe);
// The final bisection with a fixed slope; iterations == kIterationCap means it
// did not converge.
PipeResult final_bisection(const BisectionInput& in);

void resultadosactual(Document& doc, Progress& progress);
void resultadosfuturo(Document& doc);
// Return false when a pipe did not converge (the "AVISO" message was shown and
// the pass ended there).
bool resultadosfinalesactual(Document& doc, Messages& messages, Progress& progress);
bool resultadosfinalesfuturo(Document& doc, Messages& messages, Progress& progress);

// Design slope: the larger of the current and future slope of each pipe.
void design_slopes(Document& doc);

void advance_progress(Document& doc, Progress& progress);

}  // namespace velmora::marulet
