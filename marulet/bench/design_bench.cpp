// Designing a 500-pipe network on nearly flat ground: most slopes have to be
// raised far above the terrain slope in small steps.
//
//   trunk:    T0 -> T1 -> ... -> T100 (outlet), concrete, 0.1 % ground fall
//   laterals: 40 chains of 10 PVC pipes, each joining the trunk at T2, T4, ...
#include "common/ports.h"
#include "marulet/engine/calculation.h"
#include "marulet/engine/document.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

using namespace velmora;
using namespace velmora::marulet;

namespace {

std::string num(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", x);
    return buf;
}

Document flat_network() {
    Document doc;
    doc.materials.set_row_count(3);
    doc.materials.set_row(1, {"PVC", "0.009", "0"});
    doc.materials.set_row(2, {"Concrete", "0.014", "20"});
    doc.catalogue = Grid(5, 4);
    doc.catalogue.set_row(0, {"Code", "Material", "in", "mm", "Internal"});
    doc.catalogue.set_row(1, {"1", "PVC", "8", "200", "7.92"});
    doc.catalogue.set_row(2, {"2", "Concrete", "12", "300", "12.00"});
    doc.catalogue.set_row(3, {"3", "Concrete", "18", "450", "18.00"});
    int row = 2;
    auto add = [&](const std::string& from, const std::string& to, double length, double z1, double z2, int hh,
                   bool trunk, bool large) {
        doc.SG4.set_row_count(row + 1);
        doc.SG4.set_row(row, {std::to_string(row - 1), from, to, num(length), num(z1), num(z2), std::to_string(hh),
                              trunk ? "Concrete" : "PVC", trunk ? (large ? "18" : "12") : "8",
                              trunk ? (large ? "450" : "300") : "200", trunk ? (large ? "18.00" : "12.00") : "7.92"});
        ++row;
    };
    const double top = 1000;
    for (int i = 0; i < 100; ++i)
        add("T" + std::to_string(i), "T" + std::to_string(i + 1), 50, top - 0.05 * i, top - 0.05 * (i + 1),
            2 + i % 5, true, i >= 50);
    for (int l = 0; l < 40; ++l) {
        int join = 2 + 2 * l;
        double z_join = top - 0.05 * join;
        for (int j = 0; j < 10; ++j) {
            std::string from = "L" + std::to_string(l) + "_" + std::to_string(j);
            std::string to = j == 9 ? "T" + std::to_string(join) : "L" + std::to_string(l) + "_" + std::to_string(j + 1);
            double z1 = z_join + 0.04 * (10 - j), z2 = z_join + 0.04 * (9 - j);
            add(from, to, 40 + (l + j) % 20, z1, z2, 1 + (l * 3 + j) % 8, false, false);
        }
    }
    return doc;
}

void BM_DesignFlatNetwork500(benchmark::State& state) {
    const Document prototype = flat_network();
    Document doc;
    for (auto _ : state) {
        doc = prototype;
        ScriptedMessages messages;
        NullProgress progress;
        Outcome outcome = calcular(doc, messages, progress);
        if (outcome != Outcome::Done) state.SkipWithError("the network was not designed");
        benchmark::DoNotOptimize(doc.ZCSG5.revision());
    }
    // How far the design raised the slopes above the terrain's 0.1 %.
    double sum = 0;
    int raised = 0;
    for (size_t k = 0; k < doc.pendiente.size(); ++k) {
        sum += doc.pendiente[k];
        if (doc.pendiente[k] > 1) ++raised;
    }
    state.counters["pipes"] = static_cast<double>(doc.pendiente.size());
    state.counters["mean_slope_pct"] = doc.pendiente.empty() ? 0 : sum / static_cast<double>(doc.pendiente.size());
    state.counters["above_1pct"] = raised;
}
BENCHMARK(BM_DesignFlatNetwork500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
