#include "marulet/engine/profile_drawing.h"

#include "common/numtext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::marulet {
namespace nt = velmora::numtext;

namespace {

double lenient(const std::vector<std::vector<std::string>>& lists, size_t k, size_t i) {
    if (k >= lists.size() || i >= lists[k].size()) return 0;
    return nt::read_lenient(lists[k][i]);
}

std::string two_decimals(double v) { return nt::format_general(nt::round_to(v, 2)); }

}  // namespace

std::vector<ProfilePiece> profile_pieces(const Document& doc) {
    std::vector<ProfilePiece> pieces;
    const Grid& res = doc.ZCSG5;
    const PlanLists& plan = doc.plan;
    for (size_t p = 0; p < plan.tramosnudos.size(); ++p) {
        const auto& nodes = plan.tramosnudos[p];
        for (size_t i = 0; i + 1 < nodes.size(); ++i) {
            const std::string& A = nodes[i];
            const std::string& B = nodes[i + 1];
            for (int r = 2; r < res.row_count(); ++r) {
                const bool forward = res(kResFrom, r) == A && res(kResTo, r) == B;
                const bool backward = res(kResFrom, r) == B && res(kResTo, r) == A;
                if (!forward && !backward) continue;
                ProfilePiece piece;
                piece.eper1 = A;
                piece.eper2 = B;
                if (!pieces.empty()) {
                    // A later piece continues from the first earlier one that
                    // ends at A, else at B; unconnected, it starts at 0.
                    auto ends_at = [&](const std::string& n) {
                        return std::find_if(pieces.begin(), pieces.end(),
                                            [&](const ProfilePiece& q) { return q.eper2 == n; });
                    };
                    auto it = ends_at(A);
                    if (it == pieces.end()) it = ends_at(B);
                    if (it != pieces.end()) piece.xper1 = it->xper2;
                }
                piece.xper2 = piece.xper1 + valor(res, kResLength, r);
                piece.yper1 = lenient(plan.tramosz, p, i);
                piece.yper2 = lenient(plan.tramosz, p, i + 1);
                const double start = valor(res, kResStartLevel, r), end = valor(res, kResEndLevel, r);
                piece.pozo1 = forward ? start : end;
                piece.pozo2 = forward ? end : start;
                piece.diam = res(kResDiameter, r) + " " + res(kResMaterial, r);
                pieces.push_back(std::move(piece));
            }
        }
    }
    return pieces;
}

double ProfileFrame::x(double d) const { return std::round(d * kx + 30); }
double ProfileFrame::y(double z) const { return std::round(height - 50 - (z - ymin1) * ky); }

ProfileFrame profile_frame(const Document& doc, const std::vector<ProfilePiece>& pieces, int width, int height) {
    ProfileFrame f;
    f.width = width;
    f.height = height;
    for (const ProfilePiece& p : pieces) f.xmax1 = std::max(f.xmax1, p.xper2);
    for (int r = 2; r < doc.ZCSG5.row_count(); ++r)
        for (int c : {kResStartLevel, kResEndLevel})
            if (!doc.ZCSG5(c, r).empty()) f.ymin1 = std::min(f.ymin1, valor(doc.ZCSG5, c, r));
    for (int r = 2; r < doc.SG4.row_count(); ++r)
        for (int c : {kGroundFrom, kGroundTo}) f.top = std::max(f.top, valor(doc.SG4, c, r));
    if (f.xmax1 > 0) f.kx = (width - 100) / f.xmax1;
    if (f.top != f.ymin1) f.ky = (height - 100) / (f.top - f.ymin1);
    return f;
}

void dibujarperfiles(const Document& doc, Canvas& canvas, int SX, int SY, int width, int height, bool showgrid) {
    const auto pieces = profile_pieces(doc);
    const ProfileFrame f = profile_frame(doc, pieces, width, height);
    if (f.xmax1 <= 0) return;
    const double h = height;
    canvas.set_pen({colors::kBlack, 1, PenStyle::Solid});
    canvas.line(30 * SX, 10 * SY, 30 * SX, (h - 30) * SY);
    canvas.line(30 * SX, (h - 30) * SY, (width - 30) * SX, (h - 30) * SY);

    Font label;
    label.size = 7;
    // Distances every 10 m.
    for (double d = 10; d <= f.xmax1; d += 10) {
        const double x = f.x(d);
        if (showgrid) {
            canvas.set_pen({colors::kSilver, 1, PenStyle::Solid});
            canvas.line(x * SX, f.y(f.top) * SY, x * SX, (h - 30) * SY);
        }
        Font turned = label;
        turned.angle = 90;
        canvas.set_font(turned);
        canvas.text((x - 8) * SX, (h - 10) * SY, nt::format_general(d));
    }
    // Elevations every 1 m, above the horizontal axis.
    canvas.set_font(label);
    for (double z = std::floor(f.top); z >= f.ymin1; z -= 1) {
        const double y = f.y(z);
        if (y >= h - 30) continue;
        if (showgrid) {
            canvas.set_pen({colors::kSilver, 1, PenStyle::Solid});
            canvas.line(30 * SX, y * SY, f.x(f.xmax1) * SX, y * SY);
        }
        canvas.text((z >= 1000 ? 0 : 10) * SX, (y - 6) * SY, nt::format_general(z));
    }
    for (const ProfilePiece& p : pieces) {
        const double x1 = f.x(p.xper1), x2 = f.x(p.xper2);
        canvas.set_font(label);
        canvas.text(x1 * SX, (f.y(p.yper1) - 14) * SY, p.eper1);
        canvas.text(x2 * SX, (f.y(p.yper2) - 14) * SY, p.eper2);
        canvas.set_pen({colors::kBlack, 2, PenStyle::Solid});
        canvas.line(x1 * SX, f.y(p.yper1) * SY, x2 * SX, f.y(p.yper2) * SY);
        canvas.set_pen({colors::kBlack, 1, PenStyle::Dot});
        canvas.line(x1 * SX, f.y(p.pozo1) * SY, x2 * SX, f.y(p.pozo2) * SY);
    }
}

std::optional<ProfileReadout> profile_readout(const Document& doc, int width, int height, int mx, int my) {
    const auto pieces = profile_pieces(doc);
    const ProfileFrame f = profile_frame(doc, pieces, width, height);
    if (f.xmax1 <= 0 || f.ky == 0 || !(29 < mx && mx < width - 70)) return std::nullopt;
    const ProfilePiece* best = nullptr;
    double best_gap = std::numeric_limits<double>::infinity();
    double ground_y = 0, invert_y = 0;
    for (const ProfilePiece& p : pieces) {
        const double x1 = f.x(p.xper1), x2 = f.x(p.xper2);
        if (mx < std::min(x1, x2) || mx > std::max(x1, x2)) continue;
        const double t = x2 == x1 ? 0 : (mx - x1) / (x2 - x1);
        const double gy = f.y(p.yper1) + t * (f.y(p.yper2) - f.y(p.yper1));
        if (std::abs(gy - my) < best_gap) {
            best_gap = std::abs(gy - my);
            best = &p;
            ground_y = std::round(gy);
            invert_y = std::round(f.y(p.pozo1) + t * (f.y(p.pozo2) - f.y(p.pozo1)));
        }
    }
    if (!best) return std::nullopt;
    const double distance = (mx - 30) / f.kx;
    const double ground = (height - 50 - ground_y) / f.ky + f.ymin1;
    const double invert = (height - 50 - invert_y) / f.ky + f.ymin1;
    ProfileReadout out;
    out.panels = {"X:Z= " + two_decimals(distance) + ":" + two_decimals(ground),
                  "Trench Level [m]= " + two_decimals(invert),
                  "Trench Depth [m]= " + two_decimals(ground - invert),
                  "Diameter [" + doc.unidaddiametro + "]= " + best->diam};
    out.ground = {static_cast<double>(mx), ground_y};
    out.invert = {static_cast<double>(mx), invert_y};
    return out;
}

}  // namespace velmora::marulet
