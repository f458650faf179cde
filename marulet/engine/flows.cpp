#include "marulet/engine/flows.h"

#include "common/numtext.h"

#include <cmath>
#include <unordered_map>

namespace velmora::marulet {
namespace {

using numtext::roundtrip_general;

enum class Pass { Actual, Futura, FinalActual, FinalFutura };

std::string join_numbers(const std::vector<int>& numbers) {
    std::string out;
    for (size_t i = 0; i < numbers.size(); ++i) out += (i ? "," : "") + std::to_string(numbers[i]);
    return out;
}

void table_pass(Document& doc, Pass pass) {
    const bool future = pass == Pass::Futura || pass == Pass::FinalFutura;
    const bool terrain = pass == Pass::Actual || pass == Pass::Futura;
    const DesignParameters& par = doc.parameters;
    const int nl = data_rows(doc);
    SituationLists& lists = future ? doc.futuro : doc.actual;
    const double exponent = future ? par.design_period : 0.0;

    for (auto* l : {&lists.qm, &lists.fh, &lists.qd, &lists.qil, &lists.qsanitario, &lists.qacumulado}) l->clear();
    if (terrain) lists.pendiente.clear();
    doc.qinf.clear();

    if (pass == Pass::Actual) build_routes(doc);

    // Section flows.
    for (int k = 1; k <= nl; ++k) {
        const int row = k + 1;
        const std::string& hh = doc.SG4(kHouseholds, row);
        double h = hh.empty() ? 0.0 : static_cast<double>(numtext::read_int_strict(hh));
        double p = population(h, par.people_per_house, par.growth_rate, exponent, k);
        double qm = roundtrip_general(p * par.daily_usage * par.contribution / 8640000.0);
        double m = roundtrip_general((18 + std::sqrt(p / 1000)) / (4 + std::sqrt(p / 1000)));
        double qd = roundtrip_general(qm * m);
        double length = doc.longitud[static_cast<size_t>(k - 1)];
        double rate = numtext::read_strict(doc.ZCSG5(kResInfiltrationRate, row));
        double qinf = roundtrip_general((length * rate + par.manhole_infiltration) / 86400.0);
        double qil = roundtrip_general(p * par.illegal_flow / 86400.0);
        lists.qm.push_back(qm);
        lists.fh.push_back(m);
        lists.qd.push_back(qd);
        doc.qinf.push_back(qinf);
        lists.qil.push_back(qil);
        lists.qsanitario.push_back(roundtrip_general(qd + qinf + qil));
    }

    // Accumulation: each pipe's own flow once into itself and everything downstream.
    lists.qacumulado.assign(static_cast<size_t>(nl), 0.0);
    std::vector<char> visited(static_cast<size_t>(nl), 0);
    for (const auto& route : doc.RutaList) {
        for (size_t s = 0; s < route.size(); ++s) {
            size_t k = static_cast<size_t>(route[s] - 1);
            if (visited[k]) continue;
            double qs = lists.qsanitario[k];
            for (size_t t = s; t < route.size(); ++t) {
                double& acc = lists.qacumulado[static_cast<size_t>(route[t] - 1)];
                acc = roundtrip_general(acc + qs);
            }
            visited[k] = 1;
        }
    }

    // Invert levels along the routes.
    const double unset = roundtrip_general(1e16);
    doc.cpi.assign(static_cast<size_t>(nl), unset);
    doc.cpf.assign(static_cast<size_t>(nl), unset);
    for (const auto& route : doc.RutaList) {
        for (size_t s = 0; s < route.size(); ++s) {
            size_t k = static_cast<size_t>(route[s] - 1);
            int row = route[s] + 1;
            double length = doc.longitud[k];
            double up = valor(doc.SG4, kGroundFrom, row) - par.trench_depth;
            double down = valor(doc.SG4, kGroundTo, row) - par.trench_depth;
            if (doc.cpi[k] > up) doc.cpi[k] = roundtrip_general(up);
            if (s > 0) {
                double end_before = doc.cpf[static_cast<size_t>(route[s - 1] - 1)];
                if (end_before < doc.cpi[k]) doc.cpi[k] = end_before;
            }
            double slope = terrain ? (doc.cpi[k] - down) / length * 100 : doc.pendiente[k];
            if (slope < par.min_slope) slope = par.min_slope;
            doc.cpf[k] = roundtrip_general(doc.cpi[k] - length * slope / 100);
        }
    }

    // Junction pass, once, in row order.
    NodeIds ids = node_ids(doc, nl);
    for (int q = 0; q < nl; ++q) {
        for (int s = 0; s < nl; ++s) {
            if (ids.from[q] != ids.to[s] || !(doc.cpf[s] < doc.cpi[q])) continue;
            double length = doc.longitud[static_cast<size_t>(q)];
            doc.cpi[q] = doc.cpf[s];
            double slope = (doc.cpi[q] - doc.cpf[q]) / length * 100;
            if (slope < par.min_slope) slope = par.min_slope;
            doc.cpf[q] = roundtrip_general(doc.cpi[q] - slope / 100 * length);
        }
    }
    if (doc.ZCSG5.row_count() < nl + 2) doc.ZCSG5.set_row_count(nl + 2);
    for (int k = 1; k <= nl; ++k) {
        doc.ZCSG5.set_cell(kResStartLevel, k + 1, numtext::format_general(doc.cpi[static_cast<size_t>(k - 1)]));
        doc.ZCSG5.set_cell(kResEndLevel, k + 1, numtext::format_general(doc.cpf[static_cast<size_t>(k - 1)]));
    }

    // Terrain slopes, not floored.
    if (terrain) {
        for (size_t k = 0; k < static_cast<size_t>(nl); ++k)
            lists.pendiente.push_back(roundtrip_general((doc.cpi[k] - doc.cpf[k]) / doc.longitud[k] * 100));
    }
}

}  // namespace

NodeIds node_ids(const Document& doc, int nl) {
    NodeIds ids;
    std::unordered_map<std::string, int> names;
    auto id = [&](const std::string& name) {
        auto [it, inserted] = names.emplace(name, ids.count);
        if (inserted) ++ids.count;
        return it->second;
    };
    for (int k = 1; k <= nl; ++k) {
        ids.from.push_back(id(denudo(doc, k + 1)));
        ids.to.push_back(id(anudo(doc, k + 1)));
    }
    return ids;
}

void build_routes(Document& doc) {
    const int nl = data_rows(doc);
    doc.RutaList.clear();
    NodeIds ids = node_ids(doc, nl);
    std::vector<char> is_from(static_cast<size_t>(ids.count), 0), is_to(static_cast<size_t>(ids.count), 0);
    for (int k = 0; k < nl; ++k) {
        is_from[static_cast<size_t>(ids.from[k])] = 1;
        is_to[static_cast<size_t>(ids.to[k])] = 1;
    }
    std::vector<char> covered(static_cast<size_t>(nl), 0);
    for (int head = 0; head < nl; ++head) {
        if (is_to[static_cast<size_t>(ids.from[head])]) continue;  // not a head pipe
        std::vector<int> route;
        int current = ids.from[head];
        bool started = false, finished = false, broken = false;
        // A route is at most nl pipes long and needs at most nl full scans.
        for (int scan = 0; !finished && !broken; ++scan) {
            if (scan >= nl) {
                broken = true;
                break;
            }
            for (int r = 0; r < nl; ++r) {
                if (ids.from[r] != current) continue;
                if (r == head) started = true;
                if (!started) continue;
                route.push_back(r + 1);
                current = ids.to[r];
                if (is_to[static_cast<size_t>(current)] && !is_from[static_cast<size_t>(current)]) finished = true;
                if (static_cast<int>(route.size()) > nl) {
                    broken = true;
                    break;
                }
            }
        }
        if (finished && !broken) {
            for (int k : route) covered[static_cast<size_t>(k - 1)] = 1;
            doc.RutaList.push_back(std::move(route));
        }
    }
    std::vector<int> stranded;
    for (int k = 0; k < nl; ++k)
        if (!covered[static_cast<size_t>(k)]) stranded.push_back(k + 1);
    if (!stranded.empty()) {
        doc.RutaList.clear();
        throw CalculationStop("Warning", "The network cannot be calculated: the flow of pipes #" +
                                             join_numbers(stranded) +
                                             " does not reach an outlet node (a closed loop or no outlet)");
    }
}

unsigned population(double households, double people_per_house, double growth_rate, double exponent, int pipe) {
    double p = std::nearbyint(households * people_per_house * std::pow(1 + growth_rate / 100, exponent));
    if (!(p >= 0 && p <= 65535))
        throw CalculationStop("Warning", "The population of pipe #" + std::to_string(pipe) + " (" +
                                             numtext::format_general(p) +
                                             ") is outside the range 0 to 65535 that a section can hold");
    return static_cast<unsigned>(p);
}

void tablaactual(Document& doc) { table_pass(doc, Pass::Actual); }
void tablafutura(Document& doc) { table_pass(doc, Pass::Futura); }
void tablafinalactual(Document& doc) { table_pass(doc, Pass::FinalActual); }
void tablafinalfutura(Document& doc) { table_pass(doc, Pass::FinalFutura); }

}  // namespace velmora::marulet
