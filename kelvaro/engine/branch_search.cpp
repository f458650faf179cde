#include "kelvaro/engine/branch_search.h"

#include "common/numtext.h"

#include <cmath>
#include <limits>

namespace velmora::kelvaro {

double round1(double x) { return std::nearbyint(x * 10.0) / 10.0; }
double round2(double x) { return std::nearbyint(x * 100.0) / 100.0; }

double combinaciones(int n, int k) {
    if (k <= 0) return 0;
    double product = 1;
    for (int i = 1; i <= k - 1; ++i) product *= static_cast<double>(n + i);
    double factorial = 1;
    for (int i = 2; i <= k - 1; ++i) factorial *= static_cast<double>(i);
    return std::trunc(product / factorial);
}

double roundtrip_general_fast(double x) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9, 1e10,
                                        1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20};
    const double a = std::fabs(x);
    // Outside this range the general format may switch to exponent notation
    // or the scaling below would not be exact: take the text path.
    if (!(a >= 1e-4 && a < 1e14)) return numtext::roundtrip_general(x);
    // d = 14 - (decimal exponent of a), so that a * 10^d lies in [1e14, 1e15).
    // Decimal exponent from the binary one (floor(b * log10 2), within one);
    // the loop below corrects it.
    int d = 14 - ((std::ilogb(a) * 1233) >> 12);
    if (d < 0 || d > 19) return numtext::roundtrip_general(x);
    double y = 0, err = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        y = a * kPow10[d];
        err = std::fma(a, kPow10[d], -y);  // a * 10^d == y + err exactly
        if (y < 1e14 || (y == 1e14 && err < 0)) {
            ++d;
        } else if (y >= 1e15) {
            --d;
        } else {
            break;
        }
        if (d < 0 || d > 19) return numtext::roundtrip_general(x);
    }
    if (y < 1e14 || y >= 1e15) return numtext::roundtrip_general(x);
    // Round the exact product to an integer, ties to even.
    const double whole = std::floor(y);
    const double frac = y - whole;
    double m = whole;
    if (frac > 0.5 || (frac == 0.5 && (err > 0 || (err == 0 && std::fmod(whole, 2.0) != 0)))) {
        m = whole + 1;
    } else if (frac == 0 && err < 0) {
        m = whole;  // the exact product lies just below an integer: it rounds to it
    }
    // m has at most 16 digits and 10^d is exact: the quotient is the double
    // nearest to the decimal m * 10^-d, as reading its text gives.
    double r = m / kPow10[d];
    return x < 0 ? -r : r;
}

namespace {

constexpr double kNoFloor = -std::numeric_limits<double>::infinity();

class Search {
public:
    Search(const BranchProblem& p, CoverageFn coverage, void* context)
        : p_(p), coverage_(coverage), context_(context), choice_(static_cast<size_t>(p.n), 0) {
        const int k = p.k;
        widest_.resize(static_cast<size_t>(k));
        max_nominal_.resize(static_cast<size_t>(k));
        ordered_ = true;
        for (int i = 0; i < k; ++i) {
            widest_[i] = (i == 0 || p.internal[i] > p.internal[widest_[i - 1]]) ? i : widest_[i - 1];
            max_nominal_[i] = i == 0 ? p.nominal[0] : std::max(max_nominal_[i - 1], p.nominal[i]);
            if (i > 0 && (p.internal[i] < p.internal[i - 1] || p.nominal[i] < p.nominal[i - 1])) ordered_ = false;
        }
        // In an ordered slice the top diameter is both the widest and the
        // largest nominal: the completion uses it.
        if (ordered_)
            for (int i = 0; i < k; ++i) widest_[i] = i;
        // Largest floor from each position to the terminal end.
        floor_below_.assign(static_cast<size_t>(p.n) + 1, kNoFloor);
        for (int q = p.n - 1; q >= 0; --q) floor_below_[q] = std::max(floor_below_[q + 1], p.floor[q]);
    }

    std::optional<std::vector<int>> run() {
        if (p_.n == 0 || p_.k == 0) return std::nullopt;
        if (!descend(0, p_.k - 1, p_.root_grade)) return std::nullopt;
        return choice_;
    }

private:
    // One pipe: grade and pressure at its downstream node, through their text.
    bool step(int pos, int index, double& grade) const {
        grade = roundtrip_general_fast(grade - p_.head_loss[static_cast<size_t>(pos) * p_.k + index]);
        double pressure = roundtrip_general_fast(grade - p_.elevation[pos]);
        return round1(pressure) - round1(p_.min_pressure[pos]) >= 0;
    }

    // Can pipe `pos` take diameter `index` after the prefix that left `grade`
    // at its upstream node? True exactly when some accepted candidate starts
    // with this prefix (for an ordered slice; otherwise a necessary test).
    bool passes(int pos, int index, double grade, double& next_grade) const {
        if (p_.nominal[index] < p_.floor[pos]) return false;
        if (!step(pos, index, grade)) return false;
        next_grade = grade;
        if (max_nominal_[index] < floor_below_[pos + 1]) return false;
        const int widest = widest_[index];
        for (int q = pos + 1; q < p_.n; ++q)
            if (!step(q, widest, grade)) return false;
        return true;
    }

    bool descend(int pos, int upper, double grade) {
        if (pos == p_.n) return true;
        int first = 0;
        double next = 0;
        if (ordered_) {
            // The passing diameters form a top range [first, upper].
            if (!passes(pos, upper, grade, next)) return false;
            int lo = 0, hi = upper;
            while (lo < hi) {
                int mid = lo + (hi - lo) / 2;
                double g = 0;
                if (passes(pos, mid, grade, g)) hi = mid; else lo = mid + 1;
            }
            first = lo;
            choice_[pos] = first;
            report(pos);
            passes(pos, first, grade, next);
            if (descend(pos + 1, first, next)) return true;
            first += 1;  // not reached with an ordered slice; kept for safety
        }
        for (int i = first; i <= upper; ++i) {
            if (!passes(pos, i, grade, next)) continue;
            choice_[pos] = i;
            if (descend(pos + 1, i, next)) return true;
        }
        return false;
    }

    // Candidates an enumeration from the top would have passed before
    // reaching the current prefix followed by its widest completion.
    void report(int pos) {
        if (!coverage_) return;
        double covered = 0;
        int above = p_.k - 1;
        for (int t = 0; t <= pos; ++t) {
            for (int x = choice_[t] + 1; x <= above; ++x) covered += combinaciones(p_.n - 1 - t, x + 1);
            above = choice_[t];
        }
        coverage_(context_, covered);
    }

    const BranchProblem& p_;
    CoverageFn coverage_;
    void* context_;
    std::vector<int> choice_;
    std::vector<int> widest_;          // index of the widest diameter among 0..i
    std::vector<double> max_nominal_;  // largest nominal among 0..i
    std::vector<double> floor_below_;
    bool ordered_ = true;
};

}  // namespace

std::optional<std::vector<int>> choose_branch_diameters(const BranchProblem& problem, CoverageFn coverage,
                                                        void* context) {
    return Search(problem, coverage, context).run();
}

}  // namespace velmora::kelvaro
