// The diameter search against the full enumeration of every non-increasing
// sequence, and "To Calculate" on a large network.
//
//   build/kelvaro/bench/kelvaro_bench
#include "common/numtext.h"
#include "kelvaro/engine/branch_search.h"
#include "kelvaro/engine/design.h"
#include "kelvaro/engine/options.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace velmora::kelvaro {
namespace {

// Every sequence from the widest down, in decreasing lexicographic order; the
// last accepted one is the choice.
std::optional<std::vector<int>> enumerate_all(const BranchProblem& p, long long& evaluated) {
    std::vector<int> cand(static_cast<size_t>(p.n), p.k - 1);
    std::optional<std::vector<int>> accepted;
    evaluated = 0;
    for (;;) {
        ++evaluated;
        bool ok = true;
        double grade = p.root_grade;
        for (int i = 0; i < p.n; ++i) {
            grade = roundtrip_general_fast(grade - p.head_loss[static_cast<size_t>(i) * p.k + cand[i]]);
            const double pressure = roundtrip_general_fast(grade - p.elevation[i]);
            if (round1(pressure) - round1(p.min_pressure[i]) < 0) ok = false;
            if (p.nominal[cand[i]] < p.floor[i]) ok = false;
        }
        if (ok) accepted = cand;
        if (cand[p.n - 1] > 0) {
            --cand[p.n - 1];
            continue;
        }
        int first = 0;
        while (cand[first] != 0) ++first;
        if (first == 0) break;
        const int v = cand[first - 1] - 1;
        for (int i = first - 1; i < p.n; ++i) cand[i] = v;
    }
    return accepted;
}

// A 30-pipe branch falling 12 m to its first node and 1.5 m a pipe after, whose flow shrinks towards the end,
// over six PVC diameters.
BranchProblem branch_30x6() {
    const double internal[] = {18.18, 23.63, 30.36, 38.92, 44.54, 55.69};
    BranchProblem p;
    p.n = 30;
    p.k = 6;
    p.root_grade = 2500;
    for (int i = 0; i < 6; ++i) {
        p.internal.push_back(internal[i]);
        p.nominal.push_back(i);
    }
    for (int pos = 0; pos < p.n; ++pos) {
        const double flow = 0.0157 * (4 * (p.n - pos));
        const double length = 60 + 7 * (pos % 5);
        for (int i = 0; i < p.k; ++i) p.head_loss.push_back(head_loss(length, flow, 140, internal[i]));
        p.elevation.push_back(2500 - 12 - 1.5 * pos);
        p.min_pressure.push_back(10);
        p.floor.push_back(-INFINITY);
    }
    return p;
}

void BM_BranchSearch30x6(benchmark::State& state) {
    const BranchProblem p = branch_30x6();
    for (auto _ : state) benchmark::DoNotOptimize(choose_branch_diameters(p));
}

void BM_BranchEnumeration30x6(benchmark::State& state) {
    const BranchProblem p = branch_30x6();
    long long evaluated = 0;
    const auto fast = choose_branch_diameters(p);
    for (auto _ : state) {
        auto all = enumerate_all(p, evaluated);
        if (all != fast) {
            std::fprintf(stderr, "the search and the enumeration disagree\n");
            std::abort();
        }
        benchmark::DoNotOptimize(all);
    }
    state.counters["candidates"] = static_cast<double>(evaluated);
    std::string chosen;
    for (int i : *fast) chosen += std::to_string(i);
    state.SetLabel("diameters " + chosen);
}

// 300 pipes: a main line of 120 pipes and 60 side lines of 3 pipes, the
// deepest ending 120 pipes from the source; 15 allowed diameters.
Document network_300() {
    Document doc;
    const char* nominal[] = {"0.5", "0.75", "1", "1.25", "1.5", "2", "2.5", "3", "4", "5", "6", "8", "10", "12", "14"};
    const double internal[] = {18.18, 23.63, 30.36, 38.92, 44.54, 55.69, 67.41, 82.06,
                               105.5, 130.4, 155.34, 202.22, 252.1, 299.2, 328.6};
    doc.catalogue = Grid(7, 16, 1, 0);
    for (int i = 0; i < 15; ++i)
        doc.catalogue.set_row(i + 1, {"p", "PVC", nominal[i], "", numtext::format_general(internal[i]),
                                      numtext::format_general(0.6 * (i + 1) * (i + 1)), ""});
    doc.diammin = 0;
    doc.diammax = 14;
    doc.chw = 140;
    build_catalogue_slices(doc);
    doc.unidaddiametro = "\"";
    doc.Edit2 = "10";
    doc.Edit3 = "0.0157";
    doc.IQF = 0.15;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> length(40, 120);
    std::vector<std::vector<std::string>> rows;
    std::vector<double> elevation{3000};
    auto add = [&](int from, double drop) {
        const int to = static_cast<int>(elevation.size());
        elevation.push_back(elevation[from] - drop);
        rows.push_back({"", std::to_string(from + 1), std::to_string(to + 1),
                        numtext::format_general(numtext::round_to(length(rng), 1)),
                        numtext::format_general(elevation[from]), numtext::format_general(elevation[to]), "", "1"});
        return to;
    };
    int node = 0;
    std::vector<int> main_nodes{0};
    for (int i = 0; i < 120; ++i) main_nodes.push_back(node = add(node, 0.8));
    for (auto& r : rows) r[6] = "1";
    for (int j = 0; j < 60; ++j) {
        int at = main_nodes[1 + (j * 116) / 59];
        for (int s = 0; s < 3; ++s) {
            at = add(at, 1.5);
            rows.back()[6] = "2";
        }
    }
    doc.ZCSG4.set_row_count(2 + static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i][0] = std::to_string(i + 1);
        doc.ZCSG4.set_row(2 + static_cast<int>(i), rows[i]);
    }
    return doc;
}

void BM_ToCalculate300Pipes(benchmark::State& state) {
    const Document original = network_300();
    int longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Document doc = original;
        ScriptedMessages messages;
        NullProgress progress;
        state.ResumeTiming();
        if (to_calculate(doc, messages, progress) != CalcResult::Done) {
            std::fprintf(stderr, "the calculation did not complete\n");
            std::abort();
        }
        benchmark::DoNotOptimize(doc.ZCSG5.row_count());
        longest = doc.ZCSG5.row_count() - 3;
    }
    state.counters["pipes"] = longest;
}

BENCHMARK(BM_BranchSearch30x6)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BranchEnumeration30x6)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ToCalculate300Pipes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::kelvaro

BENCHMARK_MAIN();
