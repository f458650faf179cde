#pragma once
// The design of the main pipeline: `calcular` designs every section between
// break pressure boxes with two adjacent diameters whose change point is found
// by bisection (`disenarseccion`), fills the result sheet, draws the
// hydraulic grade line and the pipe labels, totals the cost and checks where
// the grade line runs below the ground.
#include "tosquin/engine/document.h"

#include "common/canvas.h"
#include "common/errors.h"
#include "common/ports.h"

#include <string>
#include <vector>

namespace velmora::tosquin {

// A design that cannot go on with the data it was given; the message is
// shown and the run stops.
class DesignRefusal : public CommandError {
public:
    using CommandError::CommandError;
};

// Hazen-Williams head loss in metres: q l/s, c coefficient, internal diameter
// in mm, length in m.
double head_loss(double q, double c, double id_mm, double length);
// Equivalent diameter (mm) that spends `head` over `length` with flow q.
double equivalent_diameter(double q, double c0, double length, double head);

// One pressure class of a diameter: design pressure (m), working pressure,
// Hazen-Williams coefficient and internal diameter texts.
struct PipeClass {
    int p = 0;
    std::string wp, hwc, id;
};
// The classes of nominal diameter `nd`, catalogue order.
std::vector<PipeClass> class_list(const ReferenceData& ref, double nd);

// Ground elevation at accumulated distance `cam` (0 while no graph is present
// or the last distance is 0).
double calculocota(const Document& doc, double cam);
// ID text of the catalogue row with ND text `nd` and WP text `wp` (the last
// such row); empty when none.
std::string diametrointerno(const ReferenceData& ref, const std::string& nd, const std::string& wp);
// HWC text of the pressure-table row with WP text `wp` (the last such row).
std::string coeficientehw(const ReferenceData& ref, const std::string& wp);

struct Stretch {
    double start = 0, end = 0;
    std::string nd, id, hwc, wp;
};

// Working data of one section.
struct Section {
    int number = 1;  // J, from 1
    double xs = 0, xe = 0, zs = 0, ze = 0;
    double lp = 0, dp = 0, lr = 0;
    std::vector<PipeClass> predetermined;  // class list of dp
    std::vector<Stretch> stretches;
};

// Designs the section with the pair (larger ndl, smaller nds); true when the
// bisection converged within 50 rounds. The stretches of the last round are
// kept either way. Throws DesignRefusal on data it cannot use.
bool disenarseccion(const Document& doc, Section& section, double ndl, double nds);

enum class RunResult { Completed, Stopped };

// Designs the whole line. Draws on `canvas` when it is given and the graph is
// present. `mostrarentierros`: show the underground warning.
RunResult calcular(Document& doc, Messages& messages, Canvas* canvas, bool mostrarentierros);

// The cost text of the fourth status panel after a completed run.
inline const std::string& cost_text(const Document& doc) { return doc.status_panels[3]; }

// The result sheet as comma lines from row 0.
std::vector<std::string> sheet_lines(const Document& doc);

}  // namespace velmora::tosquin
