#pragma once
// A plain implementation of one network's branch design that enumerates every
// non-increasing diameter sequence of every branch, exactly as the design is
// described: the yardstick for the engine's search. Test code only.
#include "common/numtext.h"
#include "kelvaro/engine/document.h"

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace velmora::kelvaro::reference {

struct NetworkDesign {
    std::vector<std::string> warnings;
    std::map<int, std::string> diameter;  // ZCSG2 row -> nominal diameter
    int fallbacks = 0;                    // branches without an accepted candidate
    int candidates = 0;                   // sequences evaluated
    std::map<std::string, double> largest_pressure;  // node -> pressure with the largest diameters
};

inline double rt(double x) { return numtext::roundtrip_general(x); }
inline double round_k(double x, int k) { return numtext::round_to(x, k); }

// ZCSG2 and ZCSG3 hold the network (DefinirRamales has run on a table whose
// columns 8 and 9 definircaudales has filled).
inline NetworkDesign design_network(const Document& doc) {
    using numtext::read_lenient;
    using numtext::read_strict;
    const Grid& p = doc.ZCSG2;
    const Grid& nodes = doc.ZCSG3;
    const Grid& in = doc.ZCSG4;
    NetworkDesign out;
    auto node_row = [&](const std::string& node) {
        for (int q = 1; q < nodes.row_count(); ++q)
            if (nodes(0, q) == node) return q;
        return 1;
    };
    std::vector<std::string> minp(nodes.row_count() - 1, doc.Edit2);
    std::vector<std::string> terminals;
    for (int q = 1; q < nodes.row_count(); ++q) {
        bool starts = false;
        for (int r = 2; r < p.row_count(); ++r) starts = starts || p(1, r) == nodes(0, q);
        if (!starts) terminals.push_back(nodes(0, q));
    }
    std::vector<std::vector<int>> branches;  // rows, terminal pipe first
    for (const auto& t : terminals) {
        std::vector<int> b;
        std::string cur = t;
        while (cur != doc.nudoraiz)
            for (int r = 2; r < p.row_count(); ++r)
                if (p(2, r) == cur) {
                    b.push_back(r);
                    cur = p(1, r);
                }
        branches.push_back(b);
    }
    std::vector<std::string> own(p.row_count()), acc(p.row_count(), "0");
    for (int r = 2; r < p.row_count(); ++r)
        for (int s = 2; s < in.row_count(); ++s)
            if (in(0, s) == p(0, r)) {
                own[r] = numtext::format_general(read_lenient(in(8, s)) + read_lenient(in(9, s)));
                break;
            }
    for (const auto& b : branches)
        for (size_t i = 0; i < b.size(); ++i) {
            for (size_t u = i; u < b.size(); ++u)
                acc[b[u]] = numtext::format_general(read_strict(acc[b[u]]) + read_strict(own[b[i]]));
            own[b[i]] = "0";
        }
    const double unit = read_strict(doc.Edit3);
    std::vector<double> qd(p.row_count());
    for (int r = 2; r < p.row_count(); ++r) {
        const double avg = read_lenient(acc[r]);
        const std::string inst = numtext::format_pattern(doc.IQF * std::sqrt(avg / unit - 1), "#,##0.000");
        qd[r] = avg <= read_lenient(inst) ? read_lenient(inst) : avg;
    }
    const int k = static_cast<int>(doc.diaminterno.size());
    auto c_of = [&](const std::string& d) {
        int idx = 0;
        for (int i = 0; i < k; ++i)
            if (doc.diaminterno[i] == d) idx = i;
        return read_strict(doc.chwlista[idx]);
    };
    auto hf = [&](int r, const std::string& d) {
        return read_lenient(p(3, r)) * std::pow(qd[r] / c_of(d), 1.85) * 1743.811 / std::pow(read_strict(d) / 25.4, 4.87);
    };
    std::vector<std::vector<std::string>> chosen;
    std::vector<double> grade(nodes.row_count());
    for (size_t bi = 0; bi < branches.size(); ++bi) {
        const auto& b = branches[bi];
        const int n = static_cast<int>(b.size());
        grade[1] = read_lenient(nodes(2, 1));
        for (int pos = n - 1; pos >= 0; --pos) {
            const int r = b[pos], R = node_row(p(1, r)), S = node_row(p(2, r));
            const double h = hf(r, doc.diaminterno[k - 1]);
            grade[S] = rt(round_k(grade[R] - h, 2));
            const double pr = grade[R] - h - read_lenient(nodes(2, S));
            if (round_k(pr, 2) < round_k(read_strict(minp[S - 1]), 2)) {
                out.warnings.push_back("the residual presure in the node " + nodes(0, S) + " is " +
                                       numtext::format_general(round_k(pr, 2)) +
                                       " mts. To increase the residual pressure at this point, the max diameter "
                                       "should be increased");
                minp[S - 1] = numtext::format_general(pr);
            }
        }
        std::vector<int> cand(n, k - 1);  // root pipe first
        std::vector<std::string> accepted;
        for (;;) {
            ++out.candidates;
            bool feasible = true;
            for (int i = 0; i < n; ++i) {
                const int r = b[n - 1 - i], R = node_row(p(1, r)), S = node_row(p(2, r));
                grade[S] = rt(grade[R] - hf(r, doc.diaminterno[cand[i]]));
                const double pr = rt(grade[S] - read_lenient(nodes(2, S)));
                if (cand[0] == k - 1 && cand[n - 1] == k - 1) out.largest_pressure[nodes(0, S)] = pr;
                if (round_k(pr, 1) - round_k(read_strict(minp[S - 1]), 1) < 0) feasible = false;
            }
            if (feasible) {
                std::vector<std::string> names(n);
                for (int i = 0; i < n; ++i) names[n - 1 - i] = doc.diamnominal[cand[i]];
                bool rejected = false;
                for (size_t e = 0; e < bi; ++e)
                    for (size_t a = 0; a < branches[e].size(); ++a)
                        for (int i = 0; i < n; ++i)
                            if (branches[e][a] == b[i] && read_lenient(names[i]) < read_lenient(chosen[e][a]))
                                rejected = true;
                if (!rejected) accepted = names;
            }
            // Next sequence in decreasing lexicographic order.
            if (cand[n - 1] > 0) {
                --cand[n - 1];
                continue;
            }
            int first = 0;
            while (cand[first] != 0) ++first;
            if (first == 0) break;
            const int v = cand[first - 1] - 1;
            for (int i = first - 1; i < n; ++i) cand[i] = v;
        }
        if (accepted.empty()) {
            ++out.fallbacks;
            accepted.assign(n, doc.diamnominal[k - 1]);
        }
        chosen.push_back(accepted);
    }
    for (size_t bi = 0; bi < branches.size(); ++bi)
        for (size_t a = 0; a < branches[bi].size(); ++a) {
            const int r = branches[bi][a];
            auto it = out.diameter.find(r);
            if (it == out.diameter.end() || read_lenient(chosen[bi][a]) > read_lenient(it->second))
                out.diameter[r] = chosen[bi][a];
        }
    return out;
}

}  // namespace velmora::kelvaro::reference
