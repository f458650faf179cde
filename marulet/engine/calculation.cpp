#include "marulet/engine/calculation.h"

#include "common/errors.h"
#include "common/numtext.h"
#include "marulet/engine/flows.h"
#include "marulet/engine/hydraulics.h"
#include "marulet/engine/pipe_table.h"

#include <cmath>
#include <functional>

namespace velmora::marulet {
namespace {

double households(const Document& doc, int row) {
    const std::string& h = doc.SG4(kHouseholds, row);
    return h.empty() ? 0.0 : static_cast<double>(numtext::read_int_strict(h));
}

void write_population(Document& doc, int row, double p) {
    doc.ZCSG5.set_cell(kResPopulation, row, numtext::format_general(p));
    doc.ZCSG5.set_cell(kResPeakFactor, row, numtext::format_general(numtext::round_to(peak_factor(p), 2)));
}

double future_multiplier(const DesignParameters& p) { return std::pow(1 + p.growth_rate / 100, p.design_period); }

// `longitud` and `diametro` from the pipe table.
void fill_lengths_and_diameters(Document& doc) {
    const int nl = data_rows(doc);
    doc.longitud.clear();
    doc.diametro.clear();
    for (int k = 1; k <= nl; ++k) {
        double length = numtext::read_strict(doc.SG4(kLength, k + 1));
        if (length == 0)
            throw CalculationStop("Error", "The length of pipe #" + std::to_string(k) +
                                               " is 0: its slope cannot be calculated");
        doc.longitud.push_back(length);
        doc.diametro.push_back(numtext::read_strict(doc.SG4(kInternalInch, k + 1)));
    }
}

// Runs a command body, turning the exceptions that stop it into the user's
// messages.
Outcome guarded(Messages& messages, const std::function<Outcome()>& body, bool* thrown = nullptr) {
    try {
        return body();
    } catch (const CalculationStop& e) {
        // Values the arithmetic cannot take stop the command like the
        // platform's error would; the program's own checks warn.
        if (e.title() == "Error")
            messages.error(e.what());
        else
            messages.warning(e.title(), e.what());
    } catch (const ConversionError& e) {
        messages.error(e.what());
    }
    if (thrown) *thrown = true;
    return Outcome::Stopped;
}

bool same_network(const Document& doc) {
    const size_t nl = static_cast<size_t>(data_rows(doc));
    if (doc.pendiente.size() != nl || doc.RutaList.empty() != (nl == 0)) return false;
    for (const auto& route : doc.RutaList)
        for (int k : route)
            if (k < 1 || static_cast<size_t>(k) > nl) return false;
    return true;
}

Outcome run_view(Document& doc, Messages& messages, Progress& progress, bool future) {
    return guarded(messages, [&] {
        if (!same_network(doc))
            throw CalculationStop("Warning", "The pipe table has changed since the last calculation: "
                                             "calculate the network again");
        const int nl = data_rows(doc);
        for (int k = 1; k <= nl; ++k) {
            double p = households(doc, k + 1) * doc.parameters.people_per_house;
            if (future) p = std::nearbyint(p * future_multiplier(doc.parameters));
            write_population(doc, k + 1, p);
        }
        fill_lengths_and_diameters(doc);
        doc.progress_counter = 0;
        doc.view = future ? View::Future : View::Current;
        if (future) {
            tablafinalfutura(doc);
            return resultadosfinalesfuturo(doc, messages, progress) ? Outcome::Done : Outcome::Incomplete;
        }
        tablafinalactual(doc);
        return resultadosfinalesactual(doc, messages, progress) ? Outcome::Done : Outcome::Incomplete;
    });
}

}  // namespace

double peak_factor(double population) {
    return (18 + std::sqrt(population / 1000)) / (4 + std::sqrt(population / 1000));
}

Outcome calcular(Document& doc, Messages& messages, Progress& progress) {
    doc.mostrarresultados = true;
    progress.set_status("Calculating");
    doc.progress_counter = 0;
    progress.set_position(0);

    // The table ends at the first data row without a From node.
    Grid& g = doc.SG4;
    int last = 2;
    while (last < g.row_count() && !denudo(doc, last).empty()) ++last;
    g.set_row_count(last);
    const int nl = data_rows(doc);

    if (!DatosOK(doc, messages)) return Outcome::Refused;
    for (int r = 2; r < nl + 2; ++r) {
        if (g(kNominalInch, r).empty() || g(kNominalMm, r).empty()) {
            messages.notice("All the piping data must be entered!");
            return Outcome::Refused;
        }
    }

    bool thrown = false;
    Outcome outcome = guarded(messages, [&] {
        Grid& z = doc.ZCSG5;
        z.clear_merges();
        z.merge(0, 0, 1, 2);
        z.merge(1, 0, 2, 1);
        z.merge(3, 0, 2, 1);
        for (int c : {5, 6, 7}) z.merge(c, 0, 1, 2);
        z.merge(8, 0, 6, 1);
        for (int c = 14; c <= 22; ++c) z.merge(c, 0, 1, 2);
        z.set_row_count(g.row_count());
        for (int r = 2; r < nl + 2; ++r) {
            z.set_cell(kResPipe, r, g(kPipeNumber, r));
            z.set_cell(kResFrom, r, g(kFrom, r));
            z.set_cell(kResTo, r, g(kTo, r));
            z.set_cell(kResLength, r, g(kLength, r));
            double p = households(doc, r) * doc.parameters.people_per_house;
            if (doc.view == View::Future) p *= future_multiplier(doc.parameters);
            write_population(doc, r, p);
            for (int m = 1; m < doc.materials.row_count(); ++m) {
                if (doc.materials(0, m) != g(kMaterial, r)) continue;
                z.set_cell(kResManning, r, doc.materials(1, m));
                z.set_cell(kResInfiltrationRate, r, doc.materials(2, m));
            }
        }
        fill_lengths_and_diameters(doc);
        tablaactual(doc);
        resultadosactual(doc, progress);
        tablafutura(doc);
        resultadosfuturo(doc);
        design_slopes(doc);
        tablafinalactual(doc);
        return resultadosfinalesactual(doc, messages, progress) ? Outcome::Done : Outcome::Incomplete;
    }, &thrown);
    // An error stops the command where it was; a pipe that did not converge
    // ends only its pass and the rest of the sequence still runs.
    if (thrown) return outcome;
    doc.calcular_enabled = false;
    doc.print_enabled = true;
    progress.set_status("");
    return outcome;
}

Outcome view_current(Document& doc, Messages& messages, Progress& progress) {
    return run_view(doc, messages, progress, false);
}

Outcome view_future(Document& doc, Messages& messages, Progress& progress) {
    return run_view(doc, messages, progress, true);
}

}  // namespace velmora::marulet
