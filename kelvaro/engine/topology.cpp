#include "kelvaro/engine/topology.h"

#include "common/numtext.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace velmora::kelvaro {
namespace nt = velmora::numtext;

namespace {

std::string join(const TextList& items) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += ",";
        out += items[i];
    }
    return out;
}

}  // namespace

void definircaudales(Document& doc) {
    doc.redlista.clear();
    Grid& g = doc.ZCSG4;
    for (int r = kFirstPipeRow; r < g.row_count(); ++r) {
        double unit = nt::read_strict(doc.Edit3);
        g.set_cell(col::kDemand, r, nt::format_general(unit * nt::read_lenient(g(col::kHouseholds, r))));
        const std::string& net = g(col::kNetwork, r);
        if (!net.empty() && std::find(doc.redlista.begin(), doc.redlista.end(), net) == doc.redlista.end())
            doc.redlista.push_back(net);
    }
    if (!doc.redlista.empty()) DefinirQRed(doc);
}

void DefinirQRed(Document& doc) {
    Grid& g = doc.ZCSG4;
    const int rows = g.row_count();
    const auto& nets = doc.redlista;
    const size_t count = nets.size();
    for (int r = kFirstPipeRow; r < rows; ++r) g.set_cell(col::kHandedOn, r, "");
    if (count == 0) return;

    std::unordered_map<std::string, size_t> position;
    for (size_t k = 0; k < count; ++k) position.emplace(nets[k], k);
    std::vector<std::vector<int>> rows_of(count);
    for (int r = kFirstPipeRow; r < rows; ++r) {
        auto it = position.find(g(col::kNetwork, r));
        if (it != position.end()) rows_of[it->second].push_back(r);
    }

    // Each network is paired with its own root: the first "From" node of its
    // rows, in grid order, that ends no row of the same network. A network
    // without such a node (a closed loop) has no root and feeds nothing.
    std::vector<std::string> root(count);
    std::vector<bool> has_root(count, false);
    for (size_t k = 0; k < count; ++k) {
        std::unordered_set<std::string> ends;
        for (int r : rows_of[k]) ends.insert(g(col::kTo, r));
        for (int r : rows_of[k]) {
            if (!ends.count(g(col::kFrom, r))) {
                root[k] = g(col::kFrom, r);
                has_root[k] = true;
                break;
            }
        }
    }

    const double unit = nt::read_strict(doc.Edit3);
    std::vector<double> own(count, 0.0);
    for (size_t k = 0; k < count; ++k)
        for (int r : rows_of[k]) own[k] += static_cast<double>(nt::read_int_lenient(g(col::kHouseholds, r))) * unit;

    // Networks that end at a node are found through this map (node -> networks
    // with a row ending there, in redlista order).
    std::unordered_map<std::string, std::vector<size_t>> ending_at;
    for (size_t k = 0; k < count; ++k) {
        std::unordered_set<std::string> seen;
        for (int r : rows_of[k])
            if (seen.insert(g(col::kTo, r)).second) ending_at[g(col::kTo, r)].push_back(k);
    }
    std::unordered_set<std::string> roots;
    for (size_t k = 0; k < count; ++k)
        if (has_root[k]) roots.insert(root[k]);

    std::vector<double> total(count, 0.0);
    for (size_t t = 0; t < count; ++t) {
        bool terminal = true;
        for (int r : rows_of[t])
            if (roots.count(g(col::kTo, r))) { terminal = false; break; }
        if (!terminal) continue;
        // Climb from the terminal network towards the first one. The climb
        // stops at a network that no other network feeds, and never visits a
        // network twice, so it always ends.
        std::vector<size_t> chain{t};
        std::vector<bool> in_chain(count, false);
        in_chain[t] = true;
        size_t current = t;
        while (current != 0 && has_root[current]) {
            auto it = ending_at.find(root[current]);
            if (it == ending_at.end()) break;
            size_t next = current;
            for (size_t j : it->second) {
                if (in_chain[j]) continue;
                chain.push_back(j);
                in_chain[j] = true;
                next = j;
            }
            if (next == current) break;
            current = next;
        }
        for (size_t i = 0; i < chain.size(); ++i) {
            for (size_t u = i; u < chain.size(); ++u) total[chain[u]] += own[chain[i]];
            own[chain[i]] = 0;
        }
    }

    // A pipe that ends at a box carries the whole demand of every network the
    // box feeds.
    std::map<std::string, double> handed;
    for (size_t k = 0; k < count; ++k)
        if (has_root[k]) handed[root[k]] += total[k];
    for (int r = kFirstPipeRow; r < rows; ++r) {
        auto it = handed.find(g(col::kTo, r));
        if (it != handed.end()) g.set_cell(col::kHandedOn, r, nt::format_general(it->second));
    }
}

void DefinirRamales(Document& doc, const std::string& red) {
    const Grid& g = doc.ZCSG4;
    std::vector<int> rows;
    for (int r = kFirstPipeRow; r < g.row_count(); ++r)
        if (g(col::kNetwork, r) == red) rows.push_back(r);
    Grid& p = doc.ZCSG2;
    p.set_row_count(kFirstPipeRow + static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        int target = kFirstPipeRow + static_cast<int>(i);
        p.clear_row(target);
        for (int c = 0; c <= 3; ++c) p.set_cell(c, target, g(c, rows[i]));
    }
    DefinirNudos(doc);
}

void DefinirNudos(Document& doc) {
    Grid& n = doc.ZCSG3;
    const Grid& p = doc.ZCSG2;
    n.set_row_count(2);
    n.clear_row(1);
    doc.nudoraiz = p(1, kFirstPipeRow);
    n.set_cell(0, 1, doc.nudoraiz);

    std::vector<std::string> nodes;  // rows 2 onward, in order of appearance
    std::unordered_set<std::string> present{doc.nudoraiz};
    for (int r = kFirstPipeRow; r < p.row_count(); ++r) {
        for (int c : {1, 2}) {
            const std::string& node = p(c, r);
            if (present.insert(node).second) nodes.push_back(node);
        }
    }
    // Rank of a node: how many nodes (root excluded) have a positive number
    // below its own. Nodes are listed by rank, equal ranks in their order.
    std::vector<double> positives;
    for (const auto& node : nodes) {
        double v = nt::read_lenient(node);
        if (v > 0) positives.push_back(v);
    }
    std::sort(positives.begin(), positives.end());
    std::vector<std::pair<size_t, size_t>> ranked;  // (rank, original position)
    for (size_t i = 0; i < nodes.size(); ++i) {
        double v = nt::read_lenient(nodes[i]);
        size_t rank = static_cast<size_t>(std::lower_bound(positives.begin(), positives.end(), v) - positives.begin());
        ranked.emplace_back(rank, i);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    n.set_row_count(2 + static_cast<int>(nodes.size()));
    for (size_t i = 0; i < ranked.size(); ++i) {
        int r = 2 + static_cast<int>(i);
        n.clear_row(r);
        n.set_cell(0, r, nodes[ranked[i].second]);
    }

    // Elevations and demands from the whole input table; later rows win.
    struct NodeFacts {
        const std::string* elevation = nullptr;
        const std::string* demand = nullptr;
    };
    std::unordered_map<std::string, NodeFacts> facts;
    const Grid& in = doc.ZCSG4;
    for (int s = kFirstPipeRow; s < in.row_count(); ++s) {
        NodeFacts& to = facts[in(col::kTo, s)];
        to.elevation = &in(col::kElevTo, s);
        to.demand = &in(col::kDemand, s);
        facts[in(col::kFrom, s)].elevation = &in(col::kElevFrom, s);
    }
    for (int q = 1; q < n.row_count(); ++q) {
        auto it = facts.find(n(0, q));
        if (it == facts.end()) continue;
        if (it->second.elevation) n.set_cell(2, q, *it->second.elevation);
        if (q > 1 && it->second.demand) n.set_cell(1, q, "-" + *it->second.demand);
    }
    // The node counter stays at the highest node number in use, so that a
    // node drawn afterwards never repeats an existing number.
    doc.numnudos = std::max(doc.numnudos, highest_node_number(doc, false));
}

void CambiodeRed(Document& doc) {
    doc.ZCSG2.clear_rows_from(kFirstPipeRow);
    doc.ZCSG3.clear_rows_from(1);
}

bool DatosOK(Document& doc, Messages& messages) {
    const Grid& g = doc.ZCSG4;
    std::unordered_set<std::string> from_nodes, to_nodes;
    for (int r = kFirstPipeRow; r < g.row_count(); ++r) {
        from_nodes.insert(g(col::kFrom, r));
        to_nodes.insert(g(col::kTo, r));
    }
    TextList unconnected, terminals, incomplete;
    for (int q = kFirstPipeRow; q < g.row_count(); ++q) {
        if (q > kFirstPipeRow && !to_nodes.count(g(col::kFrom, q))) unconnected.push_back(g(col::kFrom, q));
        if (!from_nodes.count(g(col::kTo, q)) && nt::read_lenient(g(col::kHouseholds, q)) == 0)
            terminals.push_back(g(col::kTo, q));
        bool missing = false;
        for (int c = col::kFrom; c <= col::kElevTo; ++c)
            if (nt::read_lenient(g(c, q)) == 0) missing = true;
        if (missing) incomplete.push_back(g(col::kPipe, q));
    }
    if (!unconnected.empty()) messages.warning("Warning", "Nodes no connected: " + join(unconnected));
    if (!terminals.empty())
        messages.warning("Warning", "Terminal nodes without any connection (no households): " + join(terminals));
    if (!incomplete.empty()) messages.warning("Warning", "Pipes with incomplete Data: " + join(incomplete));
    return unconnected.empty() && terminals.empty() && incomplete.empty();
}

void numerarredes(Document& doc) {
    Grid& g = doc.ZCSG4;
    const int rows = g.row_count();
    for (int r = kFirstPipeRow; r < rows; ++r) g.set_cell(col::kNetwork, r, "");
    int counter = 0;
    for (const auto& box : doc.bpbnudos)
        for (int r = kFirstPipeRow; r < rows; ++r)
            if (g(col::kFrom, r) == box) g.set_cell(col::kNetwork, r, std::to_string(++counter));
    for (int r = kFirstPipeRow; r < rows; ++r) {
        const std::string net = g(col::kNetwork, r);
        if (net.empty()) continue;
        const std::string to = g(col::kTo, r);
        for (int s = kFirstPipeRow; s < rows; ++s)
            if (g(col::kFrom, s) == to && g(col::kNetwork, s).empty()) g.set_cell(col::kNetwork, s, net);
    }
    for (int r = kFirstPipeRow; r < rows; ++r) g.set_cell(col::kPipe, r, std::to_string(r - 1));
}

int highest_node_number(const Document& doc, bool to_nodes_only) {
    long long best = 0;
    const Grid& g = doc.ZCSG4;
    for (int r = kFirstPipeRow; r < g.row_count(); ++r) {
        for (int c : {col::kFrom, col::kTo}) {
            if (to_nodes_only && c == col::kFrom) continue;
            const std::string& t = g(c, r);
            if (nt::is_integer(t)) best = std::max(best, nt::read_int_lenient(t));
        }
    }
    return static_cast<int>(std::min<long long>(best, 1'000'000'000));
}

}  // namespace velmora::kelvaro
