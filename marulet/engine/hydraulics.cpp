#include "marulet/engine/hydraulics.h"

#include "common/numtext.h"
#include "marulet/engine/flows.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace velmora::marulet {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;

// The two parts of the geometry that the bisection needs, written exactly as
// partial_flow writes them so both give the same bits.
inline double radius_of(double d, double theta, double sine) { return (d / 4) * (1 - 360 * sine / (2 * kPi * theta)); }
inline double area_of(double d, double theta, double sine) { return (d * d / 4) * (kPi * theta / 360 - sine / 2); }

// stored(x) < limit, deciding by x alone when x is far enough from the limit
// that the text round-trip (at most 5e-15 relative) cannot cross it.
inline bool stored_less(double x, double limit) {
    if (!std::isfinite(x)) return 0.0 < limit;
    double d = x - limit;
    if (std::abs(d) > 1e-12 * std::abs(limit) && std::abs(x) > 1e-290) return d < 0;
    return stored(x) < limit;
}

// Geometry already computed for the tried angle at each bisection depth: after
// a slope raise the search restarts from the same angles, so most depths hit.
class GeometryCache {
public:
    explicit GeometryCache(double d) : d_(d) {
        for (auto& e : entries_) e.theta = -1;
    }
    struct Entry {
        double theta, r, r23, a;
    };
    const Entry& at(int depth, double theta) {
        Entry& e = entries_[static_cast<size_t>(depth)];
        if (e.theta != theta) {
            double sine = std::sin(theta * kDegree);
            e.theta = theta;
            e.r = radius_of(d_, theta, sine);
            e.r23 = std::pow(e.r, 2.0 / 3.0);
            e.a = area_of(d_, theta, sine);
        }
        return e;
    }

private:
    double d_;
    std::array<Entry, kIterationCap + 1> entries_;
};

PipeResult finish(double d, double theta, double r, double v, double tau, double slope, long raises, int i) {
    Segment seg = partial_flow(d, theta);
    PipeResult out;
    out.r = stored(r);
    out.velocidad = stored(v);
    out.perimetro = stored(seg.p);
    out.t = stored(seg.y);
    out.ft = stored(tau);
    out.slope = slope;
    out.raises = raises;
    out.iterations = i;
    return out;
}

std::string pipe_text(int k) { return std::to_string(k); }

double manning_of(const Document& doc, int k) {
    double n = valor(doc.ZCSG5, kResManning, k + 1);
    if (n == 0)
        throw CalculationStop("Error", "The Manning coefficient of pipe #" + pipe_text(k) +
                                           " is 0: the velocity cannot be calculated");
    return n;
}

void recreate_hydraulic_lists(SituationLists& lists, int nl) {
    for (auto* l : {&lists.r, &lists.velocidad, &lists.perimetro, &lists.t, &lists.ft})
        l->assign(static_cast<size_t>(nl), 0.0);
}

void keep(SituationLists& lists, size_t k, const PipeResult& res) {
    lists.r[k] = res.r;
    lists.velocidad[k] = res.velocidad;
    lists.perimetro[k] = res.perimetro;
    lists.t[k] = res.t;
    lists.ft[k] = res.ft;
}

void adjusting_pass(Document& doc, SituationLists& lists, double step, Progress* progress) {
    const int nl = data_rows(doc);
    recreate_hydraulic_lists(lists, nl);
    for (int k = 1; k <= nl; ++k) {
        size_t i = static_cast<size_t>(k - 1);
        BisectionInput in{doc.diametro[i], manning_of(doc, k), lists.qacumulado[i], lists.pendiente[i],
                          doc.parameters.min_velocity, doc.parameters.min_tractive_force};
        PipeResult res = adjust_slope(in, step, k);
        lists.pendiente[i] = res.slope;
        if (res.raises > 0)
            doc.ZCSG5.set_cell(kResSlope, k + 1, numtext::format_general(numtext::round_to(res.slope, 2)));
        keep(lists, i, res);
        if (progress) advance_progress(doc, *progress);
    }
}

bool final_pass(Document& doc, SituationLists& lists, Messages& messages, Progress& progress) {
    const int nl = data_rows(doc);
    recreate_hydraulic_lists(lists, nl);
    Grid& z = doc.ZCSG5;
    auto fixed2 = [](double x) { return numtext::format_pattern(x, "0.00"); };
    for (int k = 1; k <= nl; ++k) {
        size_t i = static_cast<size_t>(k - 1);
        int row = k + 1;
        BisectionInput in{doc.diametro[i], manning_of(doc, k), lists.qacumulado[i], doc.pendiente[i],
                          doc.parameters.min_velocity, doc.parameters.min_tractive_force};
        PipeResult res = final_bisection(in);
        keep(lists, i, res);
        advance_progress(doc, progress);
        if (res.iterations == kIterationCap) {
            messages.warning("AVISO", "It is not possible to calculate with the current data in pipe #" + pipe_text(k));
            return false;
        }
        z.set_cell(kResMeanFlow, row, fixed2(lists.qm[i]));
        z.set_cell(kResPeakFlow, row, fixed2(lists.qd[i]));
        z.set_cell(kResInfiltration, row, fixed2(doc.qinf[i]));
        z.set_cell(kResIllegal, row, fixed2(lists.qil[i]));
        z.set_cell(kResSectionFlow, row, fixed2(lists.qsanitario[i]));
        z.set_cell(kResAccumulated, row, fixed2(lists.qacumulado[i]));
        z.set_cell(kResDiameter, row, fixed2(doc.diametro[i]));
        z.set_cell(kResMaterial, row, doc.SG4(kMaterial, row));
        z.set_cell(kResSlope, row, numtext::format_pattern(doc.pendiente[i], "0.000"));
        z.set_cell(kResVelocity, row, fixed2(lists.velocidad[i]));
        z.set_cell(kResHydraulicRadius, row, fixed2(lists.r[i]));
        z.set_cell(kResDraft, row, fixed2(lists.t[i]));
        z.set_cell(kResTractive, row, fixed2(lists.ft[i]));
    }
    // Internal diameters that stand in the catalogue for the pipe's material
    // become the catalogue's nominal diameter in the unit in use.
    const Grid& cat = doc.catalogue;
    std::vector<double> internal(static_cast<size_t>(cat.row_count()), 0.0);
    std::vector<char> empty_row(static_cast<size_t>(cat.row_count()), 0);
    for (int c = 1; c < cat.row_count() && nl > 0; ++c) {
        auto cells = cat.row(c);
        bool empty = true;
        for (const auto& s : cells) empty = empty && s.empty();
        empty_row[static_cast<size_t>(c)] = empty;
        if (!empty) internal[static_cast<size_t>(c)] = numtext::read_strict(cat(4, c));
    }
    const int nominal_col = doc.unidaddiametro == kInchSign ? 2 : 3;
    for (int row = 2; row < nl + 2; ++row) {
        for (int c = 1; c < cat.row_count(); ++c) {
            if (empty_row[static_cast<size_t>(c)]) continue;
            if (internal[static_cast<size_t>(c)] == numtext::read_lenient(z(kResDiameter, row)) &&
                cat(1, c) == z(kResMaterial, row))
                z.set_cell(kResDiameter, row, cat(nominal_col, c));
        }
    }
    return true;
}

}  // namespace

Segment partial_flow(double d, double theta) {
    double sine = std::sin(theta * kDegree);
    Segment s;
    s.r = radius_of(d, theta, sine);
    s.a = area_of(d, theta, sine);
    s.p = d * kPi * theta / 360;
    s.y = (1 - std::cos(theta / 2 * kDegree)) * d / 2;
    return s;
}

double manning_velocity(double r, double slope_percent, double n) {
    return std::pow(r, 2.0 / 3.0) * std::sqrt(slope_percent / 100) / n;
}

double stored(double x) {
    if (!std::isfinite(x)) return 0.0;  // "INF" and "NAN" read back as 0
    if (x == 0) return 0.0;
    char buf[40];
    auto written = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
    double v = 0;
    auto read = std::from_chars(buf, written.ptr, v);
    if (written.ec != std::errc() || read.ec != std::errc() || !std::isfinite(v))
        return numtext::roundtrip_general(x);
    return v;
}

PipeResult adjust_slope(const BisectionInput& in, double step, int pipe) {
    const double d = in.internal_diameter_in * kInch;
    const double n = in.manning;
    const double qacc = in.accumulated_flow;
    GeometryCache cache(d);
    double lo = 0.0001, hi = 360;
    int i = 0;
    long raises = 0;
    double slope = in.slope;
    double root = std::sqrt(slope / 100);
    double theta = 0, r = 0, v = 0, tau = 0;
    for (;;) {
        ++i;
        theta = lo + (hi - lo) / 2;
        const auto& g = cache.at(i, theta);
        r = g.r;
        v = g.r23 * root / n;
        double q = v * g.a * 1000;
        double miss = std::abs(qacc - q);
        if (miss >= kFlowTolerance) {
            if (qacc >= q)
                lo = theta;
            else
                hi = theta;
        }
        tau = r * 1000 * slope / 100;
        if (i == kIterationCap || stored_less(v, in.min_velocity) || stored_less(tau, in.min_tractive_force)) {
            if (++raises > kRaiseLimit)
                throw CalculationStop("AVISO", "It is not possible to calculate with the current data in pipe #" +
                                                   pipe_text(pipe));
            slope = stored(slope + step);
            root = std::sqrt(slope / 100);
            lo = 0.0001;
            hi = 360;
            i = 0;
        }
        if (miss < kFlowTolerance) break;
    }
    return finish(d, theta, r, v, tau, slope, raises, i);
}

PipeResult final_bisection(const BisectionInput& in) {
    const double d = in.internal_diameter_in * kInch;
    const double root = std::sqrt(in.slope / 100);
    double lo = 0.0001, hi = 360;
    int i = 0;
    double theta = 0, r = 0, v = 0, tau = 0;
    for (;;) {
        ++i;
        theta = lo + (hi - lo) / 2;
        double sine = std::sin(theta * kDegree);
        r = radius_of(d, theta, sine);
        v = std::pow(r, 2.0 / 3.0) * root / in.manning;
        double q = v * area_of(d, theta, sine) * 1000;
        double miss = std::abs(in.accumulated_flow - q);
        if (miss >= kFlowTolerance) {
            if (in.accumulated_flow >= q)
                lo = theta;
            else
                hi = theta;
        }
        tau = r * 1000 * in.slope / 100;
        if (miss < kFlowTolerance || i == kIterationCap) break;
    }
    return finish(d, theta, r, v, tau, in.slope, 0, i);
}

void resultadosactual(Document& doc, Progress& progress) { adjusting_pass(doc, doc.actual, kStepCurrent, &progress); }
void resultadosfuturo(Document& doc) { adjusting_pass(doc, doc.futuro, kStepFuture, nullptr); }

bool resultadosfinalesactual(Document& doc, Messages& messages, Progress& progress) {
    return final_pass(doc, doc.actual, messages, progress);
}
bool resultadosfinalesfuturo(Document& doc, Messages& messages, Progress& progress) {
    return final_pass(doc, doc.futuro, messages, progress);
}

void design_slopes(Document& doc) {
    const size_t nl = static_cast<size_t>(data_rows(doc));
    doc.pendiente.assign(nl, 0.0);
    for (size_t k = 0; k < nl; ++k)
        doc.pendiente[k] = doc.futuro.pendiente[k] > doc.actual.pendiente[k] ? doc.futuro.pendiente[k]
                                                                           : doc.actual.pendiente[k];
}

void advance_progress(Document& doc, Progress& progress) {
    ++doc.progress_counter;
    int nl = data_rows(doc);
    if (nl > 0) progress.set_position(static_cast<int>(std::nearbyint(doc.progress_counter / (2.0 * nl) * 100)));
}

}  // namespace velmora::marulet
