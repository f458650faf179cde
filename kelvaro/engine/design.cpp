#include "kelvaro/engine/design.h"

#include "common/errors.h"
#include "common/numtext.h"
#include "kelvaro/engine/branch_search.h"
#include "kelvaro/engine/topology.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace velmora::kelvaro {
namespace nt = velmora::numtext;

double head_loss(double length, double flow, double c, double internal_mm) {
    return length * std::pow(flow / c, 1.85) * 1743.811 / std::pow(internal_mm / 25.4, 4.87);
}

namespace {

// The number a cell shows after x is written with k decimals (no separators).
double written_value(double x, int decimals) { return nt::read_lenient(nt::format_fixed(x, decimals, false)); }

// Index of the last entry whose text equals `text`, 0 when none.
int last_index_of(const TextList& list, const std::string& text) {
    for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i)
        if (list[static_cast<size_t>(i)] == text) return i;
    return 0;
}

struct ProgressReporter {
    Progress& progress;
    double total = 0;
    double before = 0;  // candidates of the finished branches
    int shown = -1;
    void covered(double in_branch) {
        int pos = total > 0 ? static_cast<int>(std::trunc(100.0 / total * (before + in_branch))) : 0;
        pos = std::clamp(pos, 0, 100);
        if (pos != shown) {
            shown = pos;
            progress.set_position(pos);
        }
    }
    static void callback(void* self, double in_branch) { static_cast<ProgressReporter*>(self)->covered(in_branch); }
};

// Branches: for each terminal node, the ZCSG2 rows from the terminal pipe up
// to the root. A trace that cannot reach the root stops the design.
std::vector<std::vector<int>> trace_branches(const Document& doc, const std::string& red,
                                             const TextList& terminals) {
    const Grid& p = doc.ZCSG2;
    const int rows = p.row_count();
    std::unordered_map<std::string, int> ends_at;  // "To" node -> row
    bool unique_ends = true;
    for (int r = kFirstPipeRow; r < rows; ++r)
        if (!ends_at.emplace(p(2, r), r).second) unique_ends = false;

    auto broken = [&](const std::string& terminal) {
        return CommandError("Network " + red + ": node " + terminal +
                            " is not joined by its pipes to the first pipe of the network (node " + doc.nudoraiz +
                            "). Check the nodes and the network numbers of its pipes.");
    };

    std::vector<std::vector<int>> branches;
    const size_t max_len = static_cast<size_t>(std::max(0, rows - kFirstPipeRow));
    for (const auto& terminal : terminals) {
        std::vector<int> branch;
        std::string current = terminal;
        if (unique_ends) {
            while (current != doc.nudoraiz) {
                auto it = ends_at.find(current);
                if (it == ends_at.end() || branch.size() >= max_len) throw broken(terminal);
                branch.push_back(it->second);
                current = p(1, it->second);
            }
        } else {
            // A node ends several pipes: scan the rows in order as long as
            // every scan adds a pipe.
            while (current != doc.nudoraiz) {
                bool added = false;
                for (int r = kFirstPipeRow; r < rows; ++r) {
                    if (p(2, r) == current) {
                        branch.push_back(r);
                        current = p(1, r);
                        added = true;
                        if (branch.size() > max_len) throw broken(terminal);
                    }
                }
                if (!added) throw broken(terminal);
            }
        }
        branches.push_back(std::move(branch));
    }
    return branches;
}

}  // namespace

void CalcularRamales(Document& doc, const std::string& red, Messages& messages, Progress& progress) {
    Grid& pipes = doc.ZCSG2;
    Grid& nodes = doc.ZCSG3;
    const Grid& input = doc.ZCSG4;
    const int pipe_rows = pipes.row_count();
    const int node_rows = nodes.row_count();

    // 1. Node minimum pressures, one text per ZCSG3 row from row 1.
    TextList min_pressure(static_cast<size_t>(std::max(0, node_rows - 1)), doc.Edit2);
    std::unordered_map<std::string, int> node_row;
    for (int q = node_rows - 1; q >= 1; --q) node_row[nodes(0, q)] = q;
    auto row_of_node = [&](const std::string& node) {
        auto it = node_row.find(node);
        return it == node_row.end() ? 1 : it->second;
    };

    // 2. Terminal nodes.
    std::unordered_set<std::string> starts;
    for (int r = kFirstPipeRow; r < pipe_rows; ++r) starts.insert(pipes(1, r));
    TextList terminals;
    for (int q = 1; q < node_rows; ++q)
        if (!starts.count(nodes(0, q))) terminals.push_back(nodes(0, q));

    // 3. Branches (terminal pipe first).
    const auto branches = trace_branches(doc, red, terminals);

    // 4-5. Own demand and accumulated flow, kept as text values.
    std::unordered_map<std::string, int> input_row;
    for (int s = input.row_count() - 1; s >= kFirstPipeRow; --s) input_row[input(col::kPipe, s)] = s;
    std::vector<double> own(static_cast<size_t>(pipe_rows), 0.0), accumulated(static_cast<size_t>(pipe_rows), 0.0);
    for (int r = kFirstPipeRow; r < pipe_rows; ++r) {
        auto it = input_row.find(pipes(0, r));
        if (it != input_row.end())
            own[r] = roundtrip_general_fast(nt::read_lenient(input(col::kDemand, it->second)) +
                                            nt::read_lenient(input(col::kHandedOn, it->second)));
    }
    for (const auto& branch : branches) {
        for (size_t p = 0; p < branch.size(); ++p) {
            const double demand = own[branch[p]];
            // Adding 0 to a value read back from text leaves it unchanged.
            if (demand == 0) continue;
            for (size_t u = p; u < branch.size(); ++u)
                accumulated[branch[u]] = roundtrip_general_fast(accumulated[branch[u]] + demand);
            own[branch[p]] = 0;
        }
    }

    // 6. Average, instantaneous and design flows.
    const double unit = nt::read_strict(doc.Edit3);
    for (int r = kFirstPipeRow; r < pipe_rows; ++r) {
        pipes.set_cell(5, r, nt::format_general(accumulated[r]));
        if (unit == 0)
            throw CommandError("Floating point division by zero: the unit flow in nodes is 0 (pipe " + pipes(0, r) + ")");
        const double households = nt::read_lenient(pipes(5, r)) / unit;
        if (!(households >= 1))
            throw CommandError("Invalid floating point operation: pipe " + pipes(0, r) + " of network " + red +
                               " serves " + nt::format_general(households) +
                               " households, fewer than one; its instantaneous flow cannot be computed. "
                               "Check the # of HH of the pipes it feeds.");
        pipes.set_cell(6, r, nt::format_pattern(doc.IQF * std::sqrt(households - 1), "#,##0.000"));
        pipes.set_cell(7, r, nt::read_lenient(pipes(5, r)) <= nt::read_lenient(pipes(6, r)) ? pipes(6, r) : pipes(5, r));
    }

    const int k = static_cast<int>(doc.diaminterno.size());
    if (k == 0 || doc.diamnominal.size() < static_cast<size_t>(k) || doc.chwlista.size() < static_cast<size_t>(k) ||
        doc.costounitario.size() < static_cast<size_t>(k))
        throw CommandError("There is no diameter to choose: check the Min and Max diameters in the Options and the "
                           "file pipes_branch.csv");
    std::vector<double> internal(static_cast<size_t>(k)), nominal(static_cast<size_t>(k)), coefficient(static_cast<size_t>(k));
    for (int i = 0; i < k; ++i) {
        internal[i] = nt::read_strict(doc.diaminterno[i]);
        nominal[i] = nt::read_lenient(doc.diamnominal[i]);
        coefficient[i] = nt::read_strict(doc.chwlista[last_index_of(doc.diaminterno, doc.diaminterno[i])]);
    }

    // 7-8. Candidates for the progress bar; status text.
    ProgressReporter reporter{progress};
    for (const auto& b : branches) reporter.total += combinaciones(static_cast<int>(b.size()), k);
    {
        const auto pos = std::find(doc.redlista.begin(), doc.redlista.end(), red) - doc.redlista.begin();
        progress.set_status("Calculating Network " + std::to_string(pos + 1) + "/" + std::to_string(doc.redlista.size()));
    }

    // 9. Every branch.
    const double root_elevation = nt::read_lenient(nodes(2, 1));
    nodes.set_cell(3, 1, nodes(2, 1));
    std::vector<TextList> chosen;  // nominal texts, branch order
    std::vector<double> floor_of(static_cast<size_t>(pipe_rows), -std::numeric_limits<double>::infinity());
    std::vector<double> grade(static_cast<size_t>(node_rows), 0.0);
    for (const auto& branch : branches) {
        const int n = static_cast<int>(branch.size());
        // Root end first.
        std::vector<int> down(branch.rbegin(), branch.rend());
        std::vector<double> length(n), flow(n);
        std::vector<int> to_row(n);
        for (int p = 0; p < n; ++p) {
            length[p] = nt::read_lenient(pipes(3, down[p]));
            flow[p] = nt::read_lenient(pipes(7, down[p]));
            to_row[p] = row_of_node(pipes(2, down[p]));
        }
        // 9.1 Feasibility with the largest diameters.
        grade[1] = root_elevation;
        double upstream = root_elevation;
        for (int p = 0; p < n; ++p) {
            const int s = to_row[p];
            const double hf = head_loss(length[p], flow[p], coefficient[k - 1], internal[k - 1]);
            const double pressure = upstream - hf - nt::read_lenient(nodes(2, s));
            grade[s] = roundtrip_general_fast(round2(upstream - hf));
            upstream = grade[s];
            const double required = nt::read_strict(min_pressure[s - 1]);
            if (round2(pressure) < round2(required)) {
                messages.warning("Warning", "the residual presure in the node " + nodes(0, s) + " is " +
                                                nt::format_general(round2(pressure)) +
                                                " mts. To increase the residual pressure at this point, the max "
                                                "diameter should be increased");
                min_pressure[s - 1] = nt::format_general(pressure);
            }
        }
        // 9.2-9.4 The accepted candidate.
        BranchProblem problem;
        problem.n = n;
        problem.k = k;
        problem.root_grade = root_elevation;
        problem.head_loss.resize(static_cast<size_t>(n) * k);
        problem.elevation.resize(n);
        problem.min_pressure.resize(n);
        problem.floor.resize(n);
        for (int p = 0; p < n; ++p) {
            for (int i = 0; i < k; ++i)
                problem.head_loss[static_cast<size_t>(p) * k + i] = head_loss(length[p], flow[p], coefficient[i], internal[i]);
            problem.elevation[p] = nt::read_lenient(nodes(2, to_row[p]));
            problem.min_pressure[p] = nt::read_strict(min_pressure[to_row[p] - 1]);
            problem.floor[p] = floor_of[down[p]];
        }
        problem.internal = internal;
        problem.nominal = nominal;
        auto best = choose_branch_diameters(problem, &ProgressReporter::callback, &reporter);
        TextList names(static_cast<size_t>(n));
        for (int p = 0; p < n; ++p) {
            // Without an accepted candidate the branch takes the largest diameters.
            const int index = best ? (*best)[p] : k - 1;
            names[static_cast<size_t>(n - 1 - p)] = doc.diamnominal[index];
            floor_of[down[p]] = std::max(floor_of[down[p]], nominal[index]);
        }
        chosen.push_back(std::move(names));
        reporter.before += combinaciones(n, k);
        reporter.covered(0);
    }

    // 10. Progress cleared.
    progress.set_position(0);
    progress.set_status("");

    // 11. Final diameters: the largest chosen over the branches of each pipe.
    std::vector<const std::string*> final_name(static_cast<size_t>(pipe_rows), nullptr);
    for (size_t b = 0; b < branches.size(); ++b) {
        for (size_t p = 0; p < branches[b].size(); ++p) {
            const int r = branches[b][p];
            const std::string& name = chosen[b][p];
            if (!final_name[r] || nt::read_lenient(name) > nt::read_lenient(*final_name[r])) final_name[r] = &name;
        }
    }
    std::vector<double> written_hf(static_cast<size_t>(pipe_rows), 0.0);
    for (int r = kFirstPipeRow; r < pipe_rows; ++r) {
        if (!final_name[r])
            throw CommandError("Network " + red + ": pipe " + pipes(0, r) +
                               " lies on no path from the first pipe of the network to a terminal node.");
        const int i = last_index_of(doc.diamnominal, *final_name[r]);
        const double length = nt::read_lenient(pipes(3, r));
        const double hf = head_loss(length, nt::read_lenient(pipes(7, r)), nt::read_strict(doc.chwlista[i]),
                                    nt::read_strict(doc.diaminterno[i]));
        pipes.set_cell(8, r, doc.diamnominal[i]);
        pipes.set_cell(9, r, doc.chwlista[i]);
        pipes.set_cell(10, r, nt::format_pattern(hf, "#,##0.00"));
        written_hf[r] = written_value(hf, 2);
        pipes.set_cell(11, r, nt::format_general(std::nearbyint(nt::read_lenient(doc.costounitario[i]) * length)));
    }

    // 12-13. Grade line and pressures of the nodes.
    std::vector<double> carried(static_cast<size_t>(node_rows), 0.0);
    std::vector<bool> known(static_cast<size_t>(node_rows), false);
    carried[1] = root_elevation;
    known[1] = true;
    for (int r = kFirstPipeRow; r < pipe_rows; ++r) {
        const int from = row_of_node(pipes(1, r));
        const int to = row_of_node(pipes(2, r));
        const double g = (known[from] ? carried[from] : nt::read_lenient(nodes(3, from))) - written_hf[r];
        nodes.set_cell(3, to, nt::format_pattern(g, "#,##0.00"));
        carried[to] = written_value(g, 2);
        known[to] = true;
    }
    for (int q = 1; q < node_rows; ++q)
        nodes.set_cell(4, q, nt::format_pattern(carried[q] - nt::read_lenient(nodes(2, q)), "#,##0.00"));
}

namespace {

void fill_and_merge_first_column(Grid& g) {
    for (int r = 1; r < g.row_count(); ++r)
        if (g(0, r).empty()) g.set_cell(0, r, g(0, r - 1));
    for (int r = 0; r < g.row_count();) {
        int end = r + 1;
        while (end < g.row_count() && g(0, end) == g(0, r)) ++end;
        if (end - r > 1) g.merge(0, r, 1, end - r);
        r = end;
    }
}

// Every pipe must start at the source, at a box, or at the end of an earlier
// row: the passes over the tables follow the rows in grid order.
void check_row_order(const Document& doc) {
    const Grid& g = doc.ZCSG4;
    std::unordered_set<std::string> reached(doc.bpbnudos.begin(), doc.bpbnudos.end());
    for (int r = kFirstPipeRow; r < g.row_count(); ++r) {
        if (!reached.count(g(col::kFrom, r)))
            throw CommandError("Pipe " + g(col::kPipe, r) + " starts at node " + g(col::kFrom, r) +
                               ", which only a later row reaches: the rows must follow the direction of flow.");
        reached.insert(g(col::kTo, r));
    }
}

void assemble_results(Document& doc) {
    Grid& res = doc.ZCSG5;
    Grid& nod = doc.ZCSG6;
    const int total_row = res.row_count();
    double cost = 0, length = 0;
    for (int r = 2; r < total_row; ++r) {
        cost += nt::read_lenient(res(12, r));
        length += nt::read_lenient(res(4, r));
    }
    res.set_row_count(total_row + 1);
    res.clear_row(total_row);
    res.set_cell(0, total_row, "Total");
    res.set_cell(12, total_row, nt::format_general(cost));
    res.set_cell(4, total_row, nt::format_general(length));

    // 9. Node flows and elevations, from the last occurrence of each node.
    std::unordered_map<std::string, int> last_node_row;
    for (int d = 1; d < nod.row_count(); ++d) last_node_row[nod(1, d)] = d;
    for (int c = 2; c < total_row; ++c) {
        auto to = last_node_row.find(res(3, c));
        if (to != last_node_row.end()) {
            res.set_cell(5, c, nod(2, to->second));
            res.set_cell(14, c, nod(3, to->second));
        }
        auto from = last_node_row.find(res(2, c));
        if (from != last_node_row.end()) res.set_cell(13, c, nod(3, from->second));
    }

    // 10. Grade line, restarting at the source and every box.
    std::unordered_set<std::string> boxes(doc.bpbnudos.begin(), doc.bpbnudos.end());
    std::unordered_map<std::string, std::vector<int>> starting_at;
    for (int c = 2; c < total_row; ++c) starting_at[res(2, c)].push_back(c);
    for (int d = 2; d < total_row; ++d) {
        if (boxes.count(res(2, d))) res.set_cell(15, d, res(13, d));
        const std::string to_grade =
            nt::format_general(nt::read_strict(res(15, d)) - nt::read_strict(res(11, d)));
        res.set_cell(16, d, to_grade);
        auto it = starting_at.find(res(3, d));
        if (it != starting_at.end())
            for (int c : it->second) res.set_cell(15, c, to_grade);
    }
    // 11. Residual pressures.
    for (int c = 2; c < total_row; ++c) {
        res.set_cell(17, c, nt::format_general(nt::read_strict(res(15, c)) - nt::read_strict(res(13, c))));
        res.set_cell(18, c, nt::format_general(nt::read_strict(res(16, c)) - nt::read_strict(res(14, c))));
    }
}

}  // namespace

CalcResult to_calculate(Document& doc, Messages& messages, Progress& progress) {
    doc.mostrarcalculos = true;
    progress.set_position(0);
    try {
        Grid& input = doc.ZCSG4;
        for (int r = kFirstPipeRow; r < input.row_count(); ++r) {
            if (input(col::kFrom, r).empty()) {
                input.set_row_count(r);
                break;
            }
        }
        if (doc.bpbx.empty()) {
            doc.bpbx = {"0"};
            doc.bpby = {"0"};
            doc.bpbnudos = {input(col::kFrom, kFirstPipeRow)};
            doc.bpblibre = {"n"};
        }
        if (!DatosOK(doc, messages)) return CalcResult::Refused;
        check_row_order(doc);

        Grid& res = doc.ZCSG5;
        Grid& nod = doc.ZCSG6;
        res.set_row_count(2);
        res.clear_row(0);
        res.clear_row(1);
        set_zcsg5_headers(res, doc.unidaddiametro);
        nod.set_row_count(1);
        nod.clear_merges();
        set_zcsg6_headers(nod);
        nod.set_row_count(1);

        definircaudales(doc);
        const TextList networks = doc.redlista;
        for (const auto& red : networks) {
            CambiodeRed(doc);
            DefinirRamales(doc, red);
            CalcularRamales(doc, red, messages, progress);
            const Grid& pipes = doc.ZCSG2;
            for (int r = kFirstPipeRow; r < pipes.row_count(); ++r) {
                const int target = res.row_count();
                res.set_row_count(target + 1);
                res.clear_row(target);
                for (int c = 0; c < 12; ++c) res.set_cell(c + 1, target, pipes(c, r));
                if (r == kFirstPipeRow) res.set_cell(0, target, red);
            }
            const Grid& nodes = doc.ZCSG3;
            for (int q = 1; q < nodes.row_count(); ++q) {
                const int target = nod.row_count();
                nod.set_row_count(target + 1);
                nod.clear_row(target);
                for (int c = 0; c < 5; ++c) nod.set_cell(c + 1, target, nodes(c, q));
                if (q == 1) nod.set_cell(0, target, red);
            }
        }
        assemble_results(doc);
        set_zcsg5_headers(res, doc.unidaddiametro);

        doc.calculate_enabled = false;
        doc.current_tab = 1;
        fill_and_merge_first_column(res);
        fill_and_merge_first_column(nod);
        doc.profiles_enabled = true;
        doc.print_enabled = true;

        if (doc.unidaddiametro == "mm") {
            const Grid& cat = doc.catalogue;
            for (int r = 0; r < res.row_count(); ++r)
                for (int c = 1; c < cat.row_count(); ++c)
                    if (cat(2, c) == res(9, r)) res.set_cell(9, r, cat(6, c));
        }
        return CalcResult::Done;
    } catch (const CommandError& e) {
        progress.set_position(0);
        progress.set_status("");
        messages.error(e.what());
        return CalcResult::Stopped;
    } catch (const ConversionError& e) {
        progress.set_position(0);
        progress.set_status("");
        messages.error(e.what());
        return CalcResult::Stopped;
    }
}

}  // namespace velmora::kelvaro
