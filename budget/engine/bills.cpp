// The bill per component (SG16) and the bill of quantities (SG17).
#include "budget/engine/catalogues.h"
#include "budget/engine/report.h"
#include "common/errors.h"
#include "common/numtext.h"

#include <cctype>

namespace velmora::budget {

namespace {

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

long long list_int(const std::vector<std::string>& list, int i) {
    if (i < 0 || static_cast<size_t>(i) >= list.size()) return 0;
    return int_or_zero(list[static_cast<size_t>(i)]);
}

bool in(long long c, long long lo, long long hi) { return c > lo && c < hi; }

struct PriceItem {
    long long code;
    const std::string& diameter;
    const std::string& description;
    const std::string& unit;
    double price;
};

PriceItem price_item(const Document& doc, int r) {
    const Grid& p = doc.SGprecios;
    return {int_or_zero(p(0, r)), p(7, r), p(2, r), p(3, r), doc.num(p(4, r))};
}

}  // namespace

void bill_per_component(Document& doc, BillCache& cache) {
    Grid& g = doc.SG16;
    int row = 1;
    auto put = [&](const std::vector<std::string>& cells) {
        g.clear_row(row);
        g.set_row(row, cells);
        ++row;
    };
    // The price list read once: the fitting search below visits every item
    // for every row of the diameters table.
    std::vector<PriceItem> items;
    for (int pr = kFirstPriceRow; pr < doc.SGprecios.row_count(); ++pr) items.push_back(price_item(doc, pr));
    for (int i = 1; i < doc.SG2.row_count(); ++i) {
        double Q = doc.num(doc.SG2(3, i));
        if (!(Q > 0)) continue;
        put({upper(doc.SG2(1, i)), "UNIT", doc.text(Q), "-----", "-----"});
        const Grid& bill = component_bill(doc, cache, i);
        double cost = 0;
        for (int l = 1; l < bill.row_count(); ++l) {
            double q = 0;
            long long c = 0;
            try {
                q = doc.num_strict(bill(2, l));
                c = numtext::read_int_strict(bill(3, l));
            } catch (const ConversionError& e) {
                // The reader's message, with the bill and row that hold the bad cell.
                throw ConversionError(std::string(e.what()) + " (bill file \"" + doc.archivo[static_cast<size_t>(i)] +
                                      "\", row " + std::to_string(l) + ")");
            }
            g.clear_row(row);
            for (int pr = kFirstPriceRow; pr < doc.SGprecios.row_count(); ++pr) {
                if (int_or_zero(doc.SGprecios(0, pr)) != c) continue;
                double p = doc.num(doc.SGprecios(4, pr));
                g.set_row(row, {doc.SGprecios(2, pr), doc.SGprecios(3, pr), bill(2, l), doc.SGprecios(4, pr),
                                doc.text(p * q)});
                cost += p * q;
            }
            ++row;
        }
        put({"Cost per unit", "------", "------", "------", doc.text(cost)});

        long long nve = list_int(doc.nve, i), nvs = list_int(doc.nvs, i);
        long long nee = list_int(doc.nee, i), nes = list_int(doc.nes, i);
        auto fitting = [&](const PriceItem& it, const char* side, long long n) {
            put({it.description + side, it.unit, doc.text(static_cast<double>(n)), doc.text(it.price),
                 doc.text(static_cast<double>(n) * it.price)});
        };
        for (int r3 = 1; r3 < doc.SG3.row_count(); ++r3) {
            if (int_or_zero(doc.SG3(0, r3)) != i) continue;
            for (const PriceItem& it : items) {
                const long long c = it.code;
                for (int k = 1; k <= doc.maxde; ++k) {
                    if (doc.SG3(k + 1, r3) != it.diameter) continue;
                    if ((in(c, 1500, 1600) || in(c, 1700, 1800)) && k <= nve) fitting(it, " (inlet)", c < 1600 ? 1 : 2);
                    if (in(c, 1800, 1900) && nee > 0) fitting(it, " (inlet)", nee);
                }
                for (int k = 1; k <= doc.maxds; ++k) {
                    if (doc.SG3(doc.maxde + k + 1, r3) != it.diameter) continue;
                    if (in(c, 1600, 1800) && k <= nvs) fitting(it, " (outlet)", c < 1700 ? 1 : 2);
                    if (in(c, 1800, 1900) && nes > 0) fitting(it, " (outlet)", nes);
                }
            }
        }
        put({"------", "------", "------", "------", "------"});
    }
    // The separator after the last component is not shown.
    g.set_row_count(row > 1 ? row - 1 : 1);
}

void bill_of_quantities(Document& doc, BillCache& cache) {
    Grid& g = doc.SG17;
    int row = 1;
    for (int pr = kFirstPriceRow; pr < doc.SGprecios.row_count(); ++pr) {
        PriceItem it = price_item(doc, pr);
        const long long c = it.code;
        double t = 0;
        if (c < 7000) {
            for (int a = 1; a < doc.SG2.row_count(); ++a) {
                double Q = doc.num(doc.SG2(3, a));
                if (!(Q > 0)) continue;
                const Grid& bill = component_bill(doc, cache, a);
                for (int l = 1; l < bill.row_count(); ++l)
                    if (int_or_zero(bill(3, l)) == c) t += doc.num(bill(2, l)) * Q;
            }
        }
        for (int r3 = 1; r3 < doc.SG3.row_count(); ++r3) {
            int j = static_cast<int>(int_or_zero(doc.SG3(0, r3)));
            auto count = [&](long long valves, long long elbows) {
                if (valves > 0 && c < 1800) t += 1;
                if (valves > 0 && in(c, 1700, 1800)) t += 1;
                if (elbows > 0 && in(c, 1800, 1900)) t += 1;
            };
            for (int k = 1; k <= doc.maxde; ++k)
                if ((in(c, 1500, 1600) || in(c, 1700, 1900)) && doc.SG3(k + 1, r3) == it.diameter)
                    count(list_int(doc.nve, j), list_int(doc.nee, j));
            for (int k = 1; k <= doc.maxds; ++k)
                if (in(c, 1600, 1900) && doc.SG3(doc.maxde + k + 1, r3) == it.diameter)
                    count(list_int(doc.nvs, j), list_int(doc.nes, j));
        }
        for (const Grid* pipes : {&doc.SG4, &doc.SG5}) {
            for (int r = 1; r < pipes->row_count(); ++r) {
                double L = doc.num((*pipes)(2, r));
                if (L > 0 && int_or_zero((*pipes)(0, r)) == c) t += L;
            }
        }
        if (in(c, 1900, 2000)) {
            for (int r = 1; r < doc.SG5.row_count(); ++r) {
                double H = doc.num(doc.SG5(3, r));
                const std::string d = static_cast<size_t>(r) < doc.diametro.size() ? doc.diametro[static_cast<size_t>(r)] : "";
                if (H > 0 && d == it.diameter) t += H;
            }
        }
        if (t > 0) {
            g.clear_row(row);
            g.set_row(row, {it.description, it.unit, doc.text(t)});
            ++row;
        }
    }
    g.set_row_count(row);
}

}  // namespace velmora::budget
