#pragma once
// A document over a temporary data folder holding the shipped reference
// files, with helpers to lay out a profile and design it.
#include "common/canvas.h"
#include "common/numtext.h"
#include "common/ports.h"
#include "common/provision.h"
#include "common/tests/test_dir.h"
#include "tosquin/engine/design.h"
#include "tosquin/engine/document.h"
#include "tosquin/engine/graph.h"
#include "tosquin/engine/reference_files.h"

#include <string>
#include <utility>
#include <vector>

namespace velmora::tosquin::testing {

inline const std::filesystem::path kShipped = TOSQUIN_DATA_DIR;

struct Station {
    double x, z;
};

class Fixture {
public:
    explicit Fixture(bool shipped = true) {
        if (shipped) provision_reference_files(kShipped, dir.path());
        doc.carpetadatos = dir.path();
        if (shipped) leerarchivos(doc);
    }

    // The profile as `prepararperfil` leaves it: one section, no valves.
    void profile(const std::vector<Station>& stations, double q, double residual) {
        doc.listacam.clear();
        doc.listacota.clear();
        for (const auto& s : stations) {
            doc.listacam.push_back(numtext::format_general(s.x));
            doc.listacota.push_back(numtext::format_general(s.z));
        }
        doc.nestaciones = static_cast<int>(stations.size());
        update_profile_ends(doc);
        doc.caudal = q;
        doc.presionresidual = residual;
        single_section(doc);
        leerarchivos(doc);
        dibujargrafica(doc, canvas);
    }

    // Adds a box at (x, z) of the ground, as the graph editor does.
    void box(double x) {
        double z = calculocota(doc, x);
        size_t k = 1;
        while (k + 1 < doc.seccionesx.size() && numtext::val(doc.seccionesx[k]) < x) ++k;
        doc.seccionesx.insert(doc.seccionesx.begin() + static_cast<long>(k), numtext::format_fixed(x, 2));
        doc.seccionesz.insert(doc.seccionesz.begin() + static_cast<long>(k), numtext::format_fixed(z, 2));
        ++doc.nsecciones;
        leerarchivos(doc);
    }

    RunResult run(bool warn = true) {
        canvas.calls.clear();
        canvas.ops.clear();
        return calcular(doc, messages, &canvas, warn);
    }

    // Rows of the sheet that hold stretches.
    std::vector<int> stretch_rows() const {
        std::vector<int> rows;
        for (int r = 1; r < doc.StringGrid1.row_count(); ++r)
            if (doc.StringGrid1(0, r).rfind("Section", 0) != 0) rows.push_back(r);
        return rows;
    }
    std::string messages_text() const {
        std::string out;
        for (const auto& m : messages.records()) out += m.text + "\n";
        return out;
    }
    double cell(int col, int row) const { return numtext::read_lenient(doc.StringGrid1(col, row)); }

    velmora::testing::TempDir dir;
    Document doc;
    ScriptedMessages messages;
    RecordingCanvas canvas;
};

// A falling line of `length` m from 1000 m losing `fall` m, with stations
// every `step` m on a gently concave ground.
inline std::vector<Station> falling_line(double length, double fall, double step) {
    std::vector<Station> s;
    for (double x = 0; x <= length + 1e-9; x += step) {
        double u = x / length;
        s.push_back({x, numtext::round_to(1000 - fall * (1 - (1 - u) * (1 - u) * 0.3 - 0.7 * (1 - u)), 2)});
    }
    return s;
}

}  // namespace velmora::tosquin::testing
