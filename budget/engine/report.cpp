#include "budget/engine/report.h"

#include "budget/engine/catalogues.h"
#include "budget/engine/project.h"
#include "common/errors.h"

#include <algorithm>

namespace velmora::budget {

namespace {

void layout_unit_prices(Grid& g, const std::string& title, int first_width) {
    g.set_col_count(12);
    if (g.row_count() < 3) g.set_row_count(3);
    g.set_fixed_rows(2);
    g.clear_merges();
    g.set_cell(0, 0, title);
    g.merge(0, 0, 1, 2);
    g.set_cell(1, 0, "#");
    g.merge(1, 0, 1, 2);
    const char* groups[] = {"Materials", "Skilled Labor", "Unskilled Labor"};
    for (int k = 0; k < 3; ++k) {
        int c = 2 + 3 * k;
        g.set_cell(c, 0, groups[k]);
        g.merge(c, 0, 3, 1);
        g.set_cell(c, 1, k == 0 ? "Unit" : "Days");
        g.set_cell(c + 1, 1, "U.P.");
        g.set_cell(c + 2, 1, "Subtotal");
    }
    g.set_cell(11, 0, "Tools");
    g.merge(11, 0, 1, 2);
    g.set_col_width(0, first_width);
}

void set_row(Grid& g, int row, const std::vector<std::string>& cells) { g.set_row(row, cells); }

struct Wages {
    double skilled = 0;    // Ps
    double unskilled = 0;  // Pu
};

Wages wages(const Document& doc) {
    Wages w;
    for (int r = kFirstPriceRow; r < doc.SGprecios.row_count(); ++r) {
        long long c = int_or_zero(doc.SGprecios(0, r));
        if (c == kSkilledLabor) w.skilled = doc.num(doc.SGprecios(4, r));
        if (c == kUnskilledLabor) w.unskilled = doc.num(doc.SGprecios(4, r));
    }
    return w;
}

struct Rates {
    double B = 0;  // benefit factor
    double T = 0;  // tools percentage
    Wages w;
};

// Step 1: components. Returns the number of priced components; adds the
// tools sum to `tools` and the community credit to `credit`.
int price_components(Document& doc, BillCache& bills, const Rates& k, double& tools, double& credit) {
    Grid& g = doc.SG11;
    const double Ps = k.w.skilled, Pu = k.w.unskilled, B = k.B, T = k.T;
    double s4 = 0, s7 = 0, s10 = 0, s11 = 0;
    int r = 2;
    for (int a = 1; a < doc.SG2.row_count(); ++a) {
        double Q = doc.num(doc.SG2(3, a));
        if (!(Q > 0)) continue;
        set_row(g, r, {doc.SG2(1, a), doc.SG2(3, a), doc.SG2(2, a)});
        set_row(doc.SG14, r + 1, {doc.SG2(1, a), doc.SG2(2, a), doc.SG2(3, a)});
        const Grid& bill = component_bill(doc, bills, a);
        double M = 0, Sd = 0, Ud = 0;
        for (int l = 1; l < bill.row_count(); ++l) {
            double q = doc.num(bill(2, l));
            long long c = int_or_zero(bill(3, l));
            if (c == kSkilledLabor) Sd = q;
            if (c == kUnskilledLabor) Ud = q;
            if (c >= 7000) continue;
            for (int pr = kFirstPriceRow; pr < doc.SGprecios.row_count(); ++pr) {
                if (int_or_zero(doc.SGprecios(0, pr)) != c) continue;
                double p = doc.num(doc.SGprecios(4, pr));
                M = M + q * p;
                for (const auto& code : doc.codigoaportecomunal)
                    if (int_or_zero(code) == c) credit = credit + q * p * Q;
            }
        }
        double v4 = M * Q, v7 = Q * Sd * Ps * (1 + B), v10 = Q * Ud * Pu, v11 = M * Q * T / 100;
        g.set_cell(3, r, doc.text(M));
        g.set_cell(4, r, doc.text(v4));
        g.set_cell(5, r, doc.text(Sd));
        g.set_cell(6, r, doc.text((1 + B) * Ps));
        g.set_cell(7, r, doc.text(v7));
        g.set_cell(8, r, doc.text(Ud));
        g.set_cell(9, r, doc.text(Pu));
        g.set_cell(10, r, doc.text(v10));
        g.set_cell(11, r, doc.text(v11));
        s4 += v4;
        s7 += v7;
        s10 += v10;
        s11 += v11;
        double unit_price = Sd * Ps * (1 + B) + M + Ud * Pu;
        doc.SG14.set_cell(3, r + 1, doc.text(unit_price));
        doc.SG14.set_cell(4, r + 1, doc.text(unit_price * Q));
        ++r;
    }
    g.clear_row(r);
    g.set_cell(0, r, "Total");
    g.set_cell(4, r, doc.text(s4));
    g.set_cell(7, r, doc.text(s7));
    g.set_cell(10, r, doc.text(s10));
    g.set_cell(11, r, doc.text(s11));
    g.set_row_count(r + 1);
    tools = s11;
    return r - 2;
}

// Steps 2 and 3: one pipeline table priced into `out` and its budget row.
void price_pipeline(Document& doc, const Grid& pipes, Grid& out, int budget_row, const Rates& k, double& tools) {
    const double Ps = k.w.skilled, Pu = k.w.unskilled, B = k.B, T = k.T;
    double materials = 0, skilled = 0, unskilled = 0, tool_sum = 0, length = 0;
    int r = 2;
    for (int row = 1; row < pipes.row_count(); ++row) {
        double L = doc.num(pipes(2, row));
        if (!(L > 0)) continue;
        out.clear_row(r);
        out.set_cell(0, r, pipes(1, row));
        out.set_cell(1, r, doc.text(L));
        length += L;
        for (int pr = kFirstPriceRow; pr < doc.SGprecios.row_count(); ++pr) {
            if (doc.SGprecios(0, pr) != pipes(0, row)) continue;
            double p = doc.num(doc.SGprecios(4, pr));
            double ds = doc.num(doc.SGprecios(10, pr));
            double du = doc.num(doc.SGprecios(11, pr));
            double v4 = p * L, v7 = ds * L * Ps * (1 + B), v10 = Pu * du * L;
            out.set_cell(2, r, doc.SGprecios(3, pr));
            out.set_cell(3, r, doc.SGprecios(4, pr));
            out.set_cell(4, r, doc.text(v4));
            out.set_cell(5, r, doc.text(ds * L));
            out.set_cell(6, r, doc.text((1 + B) * Ps));
            out.set_cell(7, r, doc.text(v7));
            out.set_cell(8, r, doc.text(du * L));
            out.set_cell(9, r, doc.text(Pu));
            out.set_cell(10, r, doc.text(v10));
            double v11 = T / 100 * doc.num(out(4, r));
            out.set_cell(11, r, doc.text(v11));
            materials += v4;
            skilled += v7;
            unskilled += v10;
            tool_sum += doc.num(out(11, r));
        }
        ++r;
    }
    out.clear_row(r);
    out.set_cell(0, r, "Total");
    out.set_cell(1, r, doc.text(length));
    out.set_cell(4, r, doc.text(materials));
    out.set_cell(7, r, doc.text(skilled));
    out.set_cell(10, r, doc.text(unskilled));
    out.set_cell(11, r, doc.text(tool_sum));
    out.set_row_count(r + 1);
    tools += tool_sum;
    doc.SG14.set_cell(2, budget_row, doc.text(length));
    doc.SG14.set_cell(3, budget_row, length > 0 ? doc.text((materials + unskilled + skilled) / length) : "0");
    doc.SG14.set_cell(4, budget_row, doc.text(materials + skilled + unskilled));
}

// Step 4: tools, transport, subtotal, indirect costs and total.
void budget_rows(Document& doc, int priced, double tools) {
    Grid& g = doc.SG14;
    int k = priced;
    set_row(g, k + 3, {"Tools and small equipment", "Global", "1", doc.text(tools), doc.text(tools)});
    set_row(g, k + 4, {"Transportation", "Global", "1", doc.SG7(7, 7), doc.SG7(7, 7)});
    int s = k + 5;
    double subtotal = 0;
    for (int r = 1; r <= s - 1; ++r) subtotal += doc.num(g(4, r));
    set_row(g, s, {"Subtotal", "-----", "-----", "-----", doc.text(subtotal)});
    const auto& labels = indirect_cost_labels();
    for (int j = 1; j <= 9; ++j) {
        g.clear_row(s + j);
        g.set_cell(0, s + j, labels[static_cast<size_t>(j - 1)]);
    }
    set_row(g, s + 10, {"Total", "-----", "-----", "-----"});
    g.set_row_count(s + 11);
    for (int j = 1; j <= 9; ++j) {
        double cost = doc.num(doc.SG8(1, j));
        if (cost == 0) {
            double total = doc.num(doc.SG8(2, j)) * subtotal / 100;
            set_row(g, s + j, {labels[static_cast<size_t>(j - 1)], "%", doc.SG8(2, j), doc.text(subtotal), doc.text(total)});
        } else {
            set_row(g, s + j, {labels[static_cast<size_t>(j - 1)], "Global", "1", doc.SG8(1, j), doc.text(cost)});
        }
    }
    double total = 0;
    for (int r = s; r <= s + 9; ++r) total += doc.num(g(4, r));
    g.set_cell(4, s + 10, doc.text(total));
}

// Step 5: the funding split.
void funding(Document& doc, double credit) {
    read_table_file(doc.SG9, doc.files_dir / "aportes.csv");
    Grid& g = doc.SG15;
    auto total_of = [&](const Grid& t, int col) { return doc.num(t(col, t.row_count() - 1)); };
    auto S = [&](int col) { return total_of(doc.SG11, col) + total_of(doc.SG12, col) + total_of(doc.SG13, col); };
    auto P = [&](int c, int r) { return doc.num(doc.SG9(c, r)); };
    double transport = doc.num(doc.SG7(7, 7));
    for (int c = 1; c <= 3; ++c) {
        g.set_cell(c, 1, doc.text(S(7) * P(c, 1) / 100));
        g.set_cell(c, 2, doc.text(S(10) * P(c, 2) / 100));
        double materials = S(4) * P(c, 3) / 100;
        if (c == 1) materials = materials - credit;
        g.set_cell(c, 3, doc.text(materials));
        g.set_cell(c, 4, doc.text(S(11) * P(c, 4) / 100));
        g.set_cell(c, 5, doc.text(transport * P(c, 5) / 100));
    }
    g.set_cell(2, 3, doc.text(credit));
    auto column_sum = [&](int c, int from, int to) {
        double s = 0;
        for (int r = from; r <= to; ++r) s += doc.num(g(c, r));
        return s;
    };
    auto row_sum = [&](int r) { return doc.num(g(1, r)) + doc.num(g(2, r)) + doc.num(g(3, r)); };
    for (int c = 1; c <= 3; ++c) g.set_cell(c, 6, doc.text(column_sum(c, 1, 5)));
    for (int r = 1; r <= 6; ++r) g.set_cell(4, r, doc.text(row_sum(r)));
    for (int j = 1; j <= 9; ++j) {
        double v = doc.num(doc.SG8(1, j));
        if (v == 0) v = doc.num(doc.SG8(2, j)) / 100 * doc.num(g(4, 6));
        for (int c = 1; c <= 3; ++c) g.set_cell(c, j + 6, doc.text(P(c, 6) / 100 * v));
    }
    for (int c = 1; c <= 3; ++c) g.set_cell(c, 16, doc.text(column_sum(c, 6, 15)));
    for (int r = 7; r <= 16; ++r) g.set_cell(4, r, doc.text(row_sum(r)));
}

}  // namespace

const Grid& component_bill(const Document& doc, BillCache& cache, int component) {
    auto it = cache.find(component);
    if (it != cache.end()) return it->second;
    if (component < 0 || static_cast<size_t>(component) >= doc.archivo.size())
        throw CommandError("Component " + std::to_string(component) +
                           " of the project is not in the components list");
    Grid bill = read_table_file(doc.files_dir / doc.archivo[static_cast<size_t>(component)]);
    return cache.emplace(component, std::move(bill)).first->second;
}

void inicializar(Document& doc) {
    layout_unit_prices(doc.SG11, "Component", 190);
    layout_unit_prices(doc.SG12, "Main Pipeline", 250);
    layout_unit_prices(doc.SG13, "Distribution Network", 250);

    Grid& b = doc.SG14;
    b.set_col_count(5);
    if (b.row_count() < 3) b.set_row_count(3);
    b.set_fixed_rows(1);
    set_row(b, 0, {"Description", "Unit", "Quantity", "Unit Price", "Total"});
    b.set_cell(0, 1, "Main Pipeline (different diameters)");
    b.set_cell(1, 1, "meter");
    b.set_cell(0, 2, "Distribution network (different diameters)");
    b.set_cell(1, 2, "meter");
    b.set_col_width(0, 250);

    Grid& f = doc.SG15;
    f.set_col_count(5);
    f.set_row_count(doc.SG8.row_count() + 7);
    f.set_fixed_rows(1);
    set_row(f, 0, {"Description", "Requested", "Community", "Others", "Total"});
    const char* rows[] = {"Skilled Labor", "Unskilled Labor", "Construction Materials", "Tools and Equipment",
                          "Transport of Materials", "Subtotal"};
    for (int r = 1; r <= 6; ++r) f.set_cell(0, r, rows[r - 1]);
    for (int j = 1; j <= 9; ++j) f.set_cell(0, j + 6, doc.SG8(0, j));
    f.set_cell(0, 16, "Total");
    f.set_col_width(0, 250);

    Grid& c = doc.SG16;
    c.set_col_count(5);
    if (c.row_count() < 2) c.set_row_count(2);
    c.set_fixed_rows(1);
    set_row(c, 0, {"Material/component", "Unit", "Quantity", "U.P.", "Total"});
    c.set_col_width(0, 250);

    Grid& q = doc.SG17;
    q.set_col_count(3);
    if (q.row_count() < 2) q.set_row_count(2);
    q.set_fixed_rows(1);
    set_row(q, 0, {"Material", "Unit", "Quantity"});
    q.set_col_width(0, 250);
}

bool reports_tab_shown(Document& doc) {
    if (!doc.report_outdated) return false;
    rebuild_report(doc);
    return true;
}

void rebuild_report(Document& doc) {
    doc.report_outdated = false;
    for (Grid* g : {&doc.SG11, &doc.SG12, &doc.SG13, &doc.SG14, &doc.SG15, &doc.SG16}) g->clear();
    inicializar(doc);
    Rates k;
    k.B = benefit_factor(doc);
    k.T = doc.num(doc.tools_percentage);
    k.w = wages(doc);
    BillCache bills;
    double tools = 0, credit = 0;
    int priced = price_components(doc, bills, k, tools, credit);
    price_pipeline(doc, doc.SG4, doc.SG12, 1, k, tools);
    price_pipeline(doc, doc.SG5, doc.SG13, 2, k, tools);
    budget_rows(doc, priced, tools);
    funding(doc, credit);
    bill_per_component(doc, bills);
    bill_of_quantities(doc, bills);
}

void benefits_window_closed(Document& doc, bool changed) {
    if (!changed) return;
    doc.report_outdated = true;
    rebuild_report(doc);
}

std::vector<int> highlighted_rows(const Document& doc, const Grid& t) {
    std::vector<int> rows;
    if (&t == &doc.SG11 || &t == &doc.SG12 || &t == &doc.SG13) {
        if (t.row_count() > 2) rows.push_back(t.row_count() - 1);
    } else if (&t == &doc.SG14) {
        for (int r = 1; r < t.row_count(); ++r)
            if (t(0, r) == "Subtotal" || t(0, r) == "Total") rows.push_back(r);
    } else if (&t == &doc.SG15) {
        rows = {6, 16};
    } else if (&t == &doc.SG16) {
        for (int r = 1; r < t.row_count(); ++r)
            if (t(1, r) == "UNIT") rows.push_back(r);
    }
    return rows;
}

}  // namespace velmora::budget
