#include "tosquin/engine/design.h"

#include "common/commatext.h"
#include "common/numtext.h"
#include "tosquin/engine/graph.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::tosquin {
namespace {

using numtext::format_fixed;
using numtext::format_general;
using numtext::read_lenient;

std::string fmt2(double x) { return format_fixed(x, 2); }

// Rounding to the nearest integer, ties to the even neighbour.
double round_even(double x) { return std::nearbyint(x); }

double number_or_refuse(const std::string& text, const std::string& what) {
    if (!numtext::is_number(text)) throw DesignRefusal("Invalid data: the " + what + " '" + text + "' is not a number.");
    return read_lenient(text);
}

double stretch_loss(const Document& doc, const Stretch& s) {
    double c = number_or_refuse(s.hwc, "HWC of the working pressure " + s.wp);
    double id = number_or_refuse(s.id, "internal diameter of " + s.nd + " / " + s.wp);
    return head_loss(doc.caudal, c, id, s.end - s.start);
}

// A breakpoint keeps the text it was written as; comparisons use its number.
struct Breakpoint {
    std::string text;
    double value = 0;
};

Breakpoint breakpoint(std::string text) {
    double v = read_lenient(text);
    return {std::move(text), v};
}

// Inserts before the first breakpoint (from `from`) greater than it; returns
// its index.
size_t insert_before_greater(std::vector<Breakpoint>& bps, Breakpoint bp, size_t from = 0) {
    size_t k = from;
    while (k < bps.size() && !(bps[k].value > bp.value)) ++k;
    bps.insert(bps.begin() + static_cast<std::ptrdiff_t>(k), std::move(bp));
    return k;
}

int index_in_ldn(const ReferenceData& ref, double nd) {
    int k = -1;
    for (size_t i = 0; i < ref.ldn.size(); ++i)
        if (read_lenient(ref.ldn[i]) == nd) k = static_cast<int>(i);
    return k;
}

// Diameter and class texts of the sheet's columns 4 and 5 and of the label.
struct ClassText {
    bool found = false;
    std::string diameter, pressure, unit_text, mark;
};

ClassText class_text(const ReferenceData& ref, const Stretch& s) {
    ClassText t;
    const bool mm = ref.units.nominal_diameter == "mm";
    const std::string& pu = ref.units.pressure;
    int pcol = pu == "Kg/cm2" ? 7 : pu == "Bar" ? 8 : pu == "Mpa" ? 9 : 3;
    t.unit_text = " " + (pcol == 3 ? std::string("PSI") : pu);
    t.mark = mm ? " mm " : kInchMark + " ";
    if (!mm && pcol == 3) {
        t.found = true;
        t.diameter = s.nd;
        t.pressure = s.wp;
        return t;
    }
    const Grid& c = ref.catalogo;
    for (int r = 1; r < c.row_count(); ++r) {
        if (c(2, r) != s.nd || c(3, r) != s.wp) continue;
        t.found = true;
        t.diameter = mm ? c(6, r) : s.nd;
        t.pressure = pcol == 3 ? s.wp : c(pcol, r);
    }
    if (!t.found) t.diameter.clear(), t.pressure.clear();
    return t;
}

// Crossings of the grade line with the ground, from the sheet.
std::vector<std::string> underground_points(const Document& doc) {
    std::vector<std::string> points;
    const Grid& g = doc.StringGrid1;
    int n = station_count(doc);
    for (int i = 0; i + 1 < n; ++i) {
        double x0 = station_x(doc, i), x1 = station_x(doc, i + 1);
        if (x1 == x0) continue;
        double z0 = station_z(doc, i), z1 = station_z(doc, i + 1);
        double st = (z1 - z0) / (x1 - x0);
        double bt = z0 - st * x0;
        for (int r = 2; r < g.row_count(); ++r) {
            double from = read_lenient(g(0, r)), to = read_lenient(g(1, r));
            if (to - from == 0) continue;
            double h0 = read_lenient(g(10, r)), h1 = read_lenient(g(11, r));
            double sh = (h1 - h0) / (to - from);
            double bh = h0 - sh * from;
            if (sh == st) continue;
            double xc = (bt - bh) / (sh - st);
            if (xc > 0 && x0 < xc && xc < x1 && from < xc && xc < to) points.push_back(fmt2(xc));
        }
    }
    return points;
}

void check_first_instance(const ReferenceData& ref) {
    if (ref.ld.empty())
        throw DesignRefusal("Invalid data: \"pipes.csv\" has no diameter of the pressure for first instance design (" +
                            std::to_string(ref.presioninicial) + ").");
    for (size_t i = 0; i < ref.ld.size(); ++i) {
        number_or_refuse(ref.ld[i], "internal diameter");
        number_or_refuse(ref.ldn[i], "nominal diameter");
        if (i > 0 && !(read_lenient(ref.ld[i]) > read_lenient(ref.ld[i - 1])))
            throw DesignRefusal(
                "Invalid data: the diameters of the pressure for first instance design must be listed in "
                "\"pipes.csv\" from the smallest up.");
    }
}

}  // namespace

double head_loss(double q, double c, double id_mm, double length) {
    return 1743.811 * std::pow(q / c, 1.85) * length / std::pow(id_mm / 25.4, 4.87);
}

double equivalent_diameter(double q, double c0, double length, double head) {
    return 25.4 * std::pow(1743.811 * std::pow(q / c0, 1.85) * length / head, 1 / 4.87);
}

std::vector<PipeClass> class_list(const ReferenceData& ref, double nd) {
    std::vector<PipeClass> out;
    const Grid& c = ref.catalogo;
    const Grid& p = ref.presiones;
    for (int r = 1; r < c.row_count(); ++r) {
        if (!numtext::is_number(c(2, r)) || read_lenient(c(2, r)) != nd) continue;
        for (int k = 1; k < p.row_count(); ++k) {
            if (p(1, k) != c(3, r)) continue;
            if (!numtext::is_integer(p(2, k)))
                throw DesignRefusal("Invalid data: the design pressure '" + p(2, k) + "' of the working pressure " +
                                    p(1, k) + " is not a whole number.");
            out.push_back({static_cast<int>(numtext::read_int_lenient(p(2, k))), p(1, k), p(3, k), c(4, r)});
        }
    }
    return out;
}

double calculocota(const Document& doc, double cam) {
    if (!doc.graph.present || doc.last_distance == 0) return 0;
    int n = station_count(doc);
    if (n < 2) return n == 1 ? station_z(doc, 0) : 0;
    cam = std::clamp(cam, std::min(doc.first_distance, doc.last_distance), std::max(doc.first_distance, doc.last_distance));
    int seg = n - 2;
    for (int i = 0; i + 1 < n; ++i) {
        if (station_x(doc, i) <= cam && cam <= station_x(doc, i + 1)) {
            seg = i;
            break;
        }
    }
    double x0 = station_x(doc, seg), x1 = station_x(doc, seg + 1);
    double z0 = station_z(doc, seg), z1 = station_z(doc, seg + 1);
    if (x1 == x0) return z0;
    return z0 + (z1 - z0) * (cam - x0) / (x1 - x0);
}

std::string diametrointerno(const ReferenceData& ref, const std::string& nd, const std::string& wp) {
    std::string id;
    const Grid& c = ref.catalogo;
    for (int r = 1; r < c.row_count(); ++r)
        if (c(2, r) == nd && c(3, r) == wp) id = c(4, r);
    return id;
}

std::string coeficientehw(const ReferenceData& ref, const std::string& wp) {
    std::string hwc;
    const Grid& p = ref.presiones;
    for (int r = 1; r < p.row_count(); ++r)
        if (p(1, r) == wp) hwc = p(3, r);
    return hwc;
}

bool disenarseccion(const Document& doc, Section& s, double ndl, double nds) {
    const ReferenceData& ref = doc.ref;
    int il = index_in_ldn(ref, ndl), is = index_in_ldn(ref, nds);
    if (il < 0 || is < 0)
        throw DesignRefusal("Invalid data: the diameters " + format_general(ndl) + " and " + format_general(nds) +
                            " are not both in the pressure for first instance design.");
    const int n = station_count(doc);
    const double target = s.ze + doc.presionresidual;
    double lo = 0.1, hi = s.lr;
    int rounds = 0;
    for (;;) {
        ++rounds;
        const double l = lo + (hi - lo) / 2;
        s.stretches.clear();
        const double nd_large = read_lenient(ref.ldn[static_cast<size_t>(il)]);
        const double nd_small = read_lenient(ref.ldn[static_cast<size_t>(is)]);
        const auto larger = class_list(ref, nd_large);
        const auto smaller = class_list(ref, nd_small);
        if (larger.empty())
            throw DesignRefusal("Invalid data: the diameter " + format_general(nd_large) +
                                " has no pressure class in the catalogue and the pressure table.");

        // Breakpoints: section start, class limits on the ground, section end.
        std::vector<Breakpoint> bps{breakpoint(format_general(s.xs))};
        for (int i = 0; i + 1 < n; ++i) {
            double x0 = station_x(doc, i), x1 = station_x(doc, i + 1);
            if (!(x0 >= s.xs && x1 <= s.xe)) continue;
            double z0 = station_z(doc, i), z1 = station_z(doc, i + 1);
            for (const auto& cls : larger) {
                double e = s.zs - cls.p;
                if (std::min(z0, z1) < e && e < std::max(z0, z1))
                    bps.push_back(breakpoint(format_general(x0 + (e - z0) * (x1 - x0) / (z1 - z0))));
            }
        }
        bps.push_back(breakpoint(format_general(s.xe)));
        if (s.lp > 0) insert_before_greater(bps, breakpoint(format_general(s.xs + s.lp)), 1);
        const Grid& fixed = doc.tramosfijos;
        for (int r = 1; r < fixed.row_count(); ++r) {
            double from = read_lenient(fixed(0, r)), to = read_lenient(fixed(1, r));
            if (!(from >= 0 && to > 0)) continue;
            if (s.xs <= from && from < s.xe) insert_before_greater(bps, breakpoint(fixed(0, r)));
            if (s.xs <= to && to < s.xe) insert_before_greater(bps, breakpoint(fixed(1, r)));
        }
        const size_t split = insert_before_greater(bps, breakpoint(format_general(s.xs + s.lp + l)));
        // First stretch after the predetermined one. Without a predetermined
        // stretch there is none before it, even when a forced section starts
        // at the section start with the same text.
        size_t p = 0;
        if (s.lp > 0) {
            const std::string p_text = format_general(s.xs + s.lp);
            for (size_t k = 0; k < bps.size(); ++k)
                if (bps[k].text == p_text) p = k;
        }

        for (size_t k = 0; k + 1 < bps.size(); ++k) {
            const double zr = round_even(calculocota(doc, bps[k].value));
            size_t u = larger.size() - 1;
            for (size_t i = 0; i < larger.size(); ++i)
                if (round_even(s.zs - larger[i].p) <= zr) {
                    u = i;
                    break;
                }
            if (k >= 1 && std::fabs(bps[k].value - (s.xs + l)) > 0.01 && round_even(s.zs - larger[u].p) == zr &&
                read_lenient(s.stretches.back().wp) == read_lenient(larger[u].wp))
                ++u;
            const std::vector<PipeClass>* list = &smaller;
            double nd = nd_small;
            const char* which = "smaller";
            if (k < p) list = &s.predetermined, nd = s.dp, which = "predetermined";
            else if (k < split) list = &larger, nd = nd_large, which = "larger";
            if (u >= larger.size())
                throw DesignRefusal("Section " + std::to_string(s.number) + " cannot be designed: from " +
                                    fmt2(bps[k].value) + " m on the static pressure exceeds the highest pressure "
                                    "class (" + std::to_string(larger.back().p) +
                                    " m). Place a break pressure box upstream of that point.");
            if (u >= list->size())
                throw DesignRefusal("Invalid data: the " + std::string(which) + " diameter " + format_general(nd) +
                                    " has no pressure class number " + std::to_string(u + 1) +
                                    "; every diameter must offer the same classes in the same order.");
            const PipeClass& cls = (*list)[u];
            s.stretches.push_back({bps[k].value, bps[k + 1].value, format_general(nd), cls.id, cls.hwc, cls.wp});
        }

        for (int r = 1; r < fixed.row_count(); ++r) {
            double from = read_lenient(fixed(0, r)), to = read_lenient(fixed(1, r));
            if (!(from >= 0 && to > 0)) continue;
            for (auto& st : s.stretches) {
                if (!(from <= st.start && st.start < to)) continue;
                st.wp = fixed(3, r);
                st.id = diametrointerno(ref, st.nd, st.wp);
                st.hwc = coeficientehw(ref, st.wp);
                if (st.id.empty())
                    throw DesignRefusal("Invalid data: the predetermined section from " + fixed(0, r) + " to " +
                                        fixed(1, r) + " asks for the working pressure '" + st.wp +
                                        "', which the catalogue does not offer for the diameter " + st.nd + ".");
            }
        }

        double hf = 0;
        for (const auto& st : s.stretches) hf += stretch_loss(doc, st);
        const double residual_gap = target - (s.zs - hf);
        if (target >= s.zs - hf) lo = l;
        else hi = l;

        bool stuck = false;
        if (l < 0.2) {
            lo = 0.1, hi = s.lr;
            if (is == 0) stuck = true;
            else il = is, --is;
        }
        if (!stuck && s.lr - l < 0.2) {
            lo = 0.1, hi = s.lr;
            if (il + 1 >= static_cast<int>(ref.ldn.size())) stuck = true;
            else is = il, ++il;
        }
        if (std::fabs(residual_gap) < 0.001 || rounds >= 51) break;
        // No smaller (or larger) diameter to move the pair to: the section
        // cannot reach the required residual pressure.
        if (stuck) return false;
    }
    return rounds <= 50;
}

RunResult calcular(Document& doc, Messages& messages, Canvas* canvas, bool mostrarentierros) {
    doc.commands.export_sheet = true;
    doc.commands.new_project = true;
    const ReferenceData& ref = doc.ref;
    Grid& sheet = doc.StringGrid1;
    const GraphState& g = doc.graph;
    const bool draw = canvas != nullptr && g.present;

    const std::string& c0_text = ref.presiones(3, 1);
    const double c0 = numtext::is_integer(c0_text) ? static_cast<double>(numtext::read_int_lenient(c0_text)) : 150.0;
    double total = 0;
    int row = 0;
    const double q = doc.caudal;

    // The rows written so far stay visible, also when a run stops.
    auto finish_sheet = [&] { sheet.set_row_count(row + 1); };

    try {
        if (!(q >= 0)) throw DesignRefusal("Invalid data: the flow must not be negative.");
        check_first_instance(ref);
        if (doc.seccionesx.size() < static_cast<size_t>(doc.nsecciones) + 1 ||
            doc.seccionesz.size() < static_cast<size_t>(doc.nsecciones) + 1)
            throw DesignRefusal("Invalid data: the section list does not hold the ends of every section.");

        for (int j = 1; j <= doc.nsecciones; ++j) {
            Section s;
            s.number = j;
            const Grid& pre = doc.predeterminados;
            double from = read_lenient(pre(1, j)), to = read_lenient(pre(2, j));
            s.dp = read_lenient(pre(3, j));
            s.lp = std::max(0.0, to - from);
            s.predetermined = class_list(ref, s.dp);
            double hp = 0;
            if (s.lp > 0) {
                if (s.predetermined.empty())
                    throw DesignRefusal("Invalid data: the predetermined diameter " + pre(3, j) + " of section " +
                                        std::to_string(j) + " has no pressure class in the catalogue.");
                const PipeClass& first = s.predetermined.front();
                hp = head_loss(q, number_or_refuse(first.hwc, "HWC of the working pressure " + first.wp),
                               number_or_refuse(first.id, "internal diameter"), s.lp);
            }
            s.xs = numtext::val(doc.seccionesx[static_cast<size_t>(j - 1)]);
            s.xe = numtext::val(doc.seccionesx[static_cast<size_t>(j)]);
            s.zs = numtext::val(doc.seccionesz[static_cast<size_t>(j - 1)]);
            s.ze = numtext::val(doc.seccionesz[static_cast<size_t>(j)]);
            const double h = s.zs - s.ze - doc.presionresidual - hp;
            s.lr = s.xe - s.xs - s.lp;
            if (s.lr < 0.4)
                throw DesignRefusal("Section " + std::to_string(j) + " cannot be designed: it is too short (" +
                                    fmt2(s.lr) + " m after the predetermined diameter).");
            if (!(h > 0))
                throw DesignRefusal("Section " + std::to_string(j) +
                                    " cannot be designed: its end is not lower than its start by more than the "
                                    "residual pressure (available head " +
                                    fmt2(h) + " m).");
            const double deq = equivalent_diameter(q, c0, s.lr, h);

            int il = -1, is = -1;
            double idl = 10000, ids = 0;
            for (size_t i = 0; i < ref.ld.size(); ++i) {
                double v = read_lenient(ref.ld[i]);
                if (v > deq && v < idl) idl = v, il = static_cast<int>(i);
                if (v < deq && v > ids) ids = v, is = static_cast<int>(i);
            }
            if (il < 0)
                throw DesignRefusal("Section " + std::to_string(j) +
                                    " cannot be designed: it needs a diameter larger than the largest of the "
                                    "catalogue (equivalent diameter " +
                                    fmt2(deq) + " mm).");
            const double ndl = read_lenient(ref.ldn[static_cast<size_t>(il)]);
            if (ndl == ref.diametrominimo) {
                messages.warning("Warning",
                                 "The design demands a smaller diameter than the minimun specified. Allow smaller "
                                 "diameters in Options->Minimun Diameter menu");
                finish_sheet();
                return RunResult::Stopped;
            }
            if (is < 0)
                throw DesignRefusal("Section " + std::to_string(j) +
                                    " cannot be designed: it needs a diameter smaller than the smallest of the "
                                    "catalogue (equivalent diameter " +
                                    fmt2(deq) + " mm).");
            const double nds = read_lenient(ref.ldn[static_cast<size_t>(is)]);

            bool ok = disenarseccion(doc, s, ndl, nds);
            if (!ok) {
                double next = 0;
                bool has_next = false;
                for (const auto& t : ref.ldn)
                    if (read_lenient(t) > ndl) {
                        next = read_lenient(t);
                        has_next = true;
                        break;
                    }
                if (has_next) {
                    Section retry = s;
                    if (disenarseccion(doc, retry, next, ndl)) ok = true;
                    s = std::move(retry);
                }
            }
            if (!ok && messages.question("The conditions do not allow a design by deafault. Do you want to continue?",
                                         "Warning") != Answer::Yes) {
                finish_sheet();
                return RunResult::Stopped;
            }

            // Head losses at full precision, and as the sheet rounds them.
            std::vector<double> losses;
            for (const auto& st : s.stretches) losses.push_back(stretch_loss(doc, st));

            if (draw) {
                canvas->set_pen(Pen{colors::kBlue, 1, PenStyle::Solid});
                std::vector<PointF> hgl{convertirxy(g, s.zs, s.xs)};
                double sum = 0;
                for (size_t k = 0; k < s.stretches.size(); ++k) {
                    sum += losses[k];
                    hgl.push_back(convertirxy(g, s.zs - sum, s.stretches[k].end));
                }
                canvas->polyline(hgl);
                Font font = canvas->font();
                font.angle = 90;
                font.size = 7;
                canvas->set_font(font);
                const double bottom = convertirxy(g, g.zmin, g.xmin).y;
                for (size_t k = 0; k < s.stretches.size(); ++k) {
                    const Stretch& st = s.stretches[k];
                    ClassText t = class_text(ref, st);
                    std::string label = format_fixed(st.end - st.start, 0);
                    if (t.found) label += " M " + t.diameter + t.mark + t.pressure + t.unit_text;
                    const double px = convertirxy(g, 0, st.start).x;
                    canvas->set_pen(Pen{colors::kBlack, 1, PenStyle::Solid});
                    canvas->text(px + 3, bottom - 10, label);
                    if (k == 0 && st.start > doc.first_distance) {
                        canvas->set_pen(Pen{colors::kBlack, 1, PenStyle::Dot});
                        canvas->line(px, convertirxy(g, calculocota(doc, st.start), st.start).y, px, bottom - 10);
                    } else {
                        canvas->line(px, bottom, px, bottom - 10);
                    }
                }
                font.angle = 0;
                canvas->set_font(font);
            }

            for (const auto& st : s.stretches) {
                const double wp = static_cast<double>(numtext::read_int_lenient(st.wp));
                const double nd = read_lenient(st.nd);
                for (int r = 1; r < ref.catalogo.row_count(); ++r)
                    if (read_lenient(ref.catalogo(3, r)) == wp && read_lenient(ref.catalogo(2, r)) == nd)
                        total += (st.end - st.start) * read_lenient(ref.catalogo(5, r));
            }

            ++row;
            sheet.clear_row(row);
            sheet.set_cell(0, row, "Section " + std::to_string(j) + " ---");
            sheet.set_cell(1, row, "Q= " + fmt2(q) + " " + ref.units.flow);
            double hgl_from = s.zs;
            for (size_t k = 0; k < s.stretches.size(); ++k) {
                const Stretch& st = s.stretches[k];
                ++row;
                sheet.clear_row(row);
                ClassText t = class_text(ref, st);
                const double id = read_lenient(st.id);
                const std::string hf_text = fmt2(losses[k]);
                const std::string from_hgl = fmt2(hgl_from);
                const std::string to_hgl = fmt2(read_lenient(from_hgl) - read_lenient(hf_text));
                const std::string from_elev = fmt2(calculocota(doc, st.start));
                const std::string to_elev = fmt2(calculocota(doc, st.end));
                const double velocity = q / 1000 / (std::numbers::pi / 4 * (id / 1000) * (id / 1000));
                sheet.set_row(row, {fmt2(st.start), fmt2(st.end), fmt2(st.end - st.start), st.id, t.diameter,
                                    t.pressure, hf_text, fmt2(velocity), from_elev, to_elev, from_hgl, to_hgl,
                                    fmt2(read_lenient(from_hgl) - read_lenient(from_elev)),
                                    fmt2(read_lenient(to_hgl) - read_lenient(to_elev))});
                hgl_from -= read_lenient(hf_text);
            }
        }
    } catch (const DesignRefusal& e) {
        messages.warning("Warning", e.what());
        finish_sheet();
        return RunResult::Stopped;
    }

    total += (doc.nsecciones - 1) * ref.preciocaja + doc.nvalvulasaire * ref.precioaire +
             doc.nvalvulaslavado * ref.preciolavado;
    finish_sheet();
    doc.status_panels[3] = "Cost $=" + format_fixed(total, 0);

    auto points = underground_points(doc);
    if (!points.empty() && mostrarentierros)
        messages.warning("Warning", "HGL underground in X: " + commatext::write_line(points));
    return RunResult::Completed;
}

std::vector<std::string> sheet_lines(const Document& doc) { return doc.StringGrid1.to_lines(0); }

}  // namespace velmora::tosquin
