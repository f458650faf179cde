#pragma once
// The choice of diameters along one branch (a path from the network's root to
// a terminal node).
//
// A candidate gives every pipe of the branch one allowed diameter (an index
// into the catalogue slice), root pipe first, never growing towards the
// terminal. Walking from the root, each node's grade is the previous grade
// minus the pipe's head loss, written as text and read back; its pressure is
// the grade minus its elevation, likewise; the node is satisfied when its
// pressure rounded to 1 decimal is not below its minimum rounded to 1 decimal.
// A candidate is accepted when every node is satisfied and no pipe gets a
// nominal diameter below the floor left by earlier branches. The branch takes
// the lexicographically smallest accepted candidate, read from the root: the
// last one an enumeration in decreasing lexicographic order would accept.
//
// A node's pressure depends only on the pipes above it and never decreases
// when one of their diameters grows. So a prefix can be completed into an
// accepted candidate exactly when the completion that gives every remaining
// pipe the widest diameter the prefix still allows is accepted. The search
// walks the prefixes in increasing order and drops every prefix that fails
// this test; with a catalogue slice ordered by diameter it never backtracks.
#include <cstdint>
#include <optional>
#include <vector>

namespace velmora::kelvaro {

struct BranchProblem {
    int n = 0;  // pipes, root pipe first
    int k = 0;  // allowed diameters, catalogue order
    double root_grade = 0;
    std::vector<double> head_loss;     // [p * k + i]: head loss of pipe p with diameter i
    std::vector<double> elevation;     // [p]: elevation of the downstream node of pipe p
    std::vector<double> min_pressure;  // [p]: minimum pressure of that node (as read)
    std::vector<double> internal;      // [i]: internal diameter, orders the hydraulic benefit
    std::vector<double> nominal;       // [i]: nominal diameter read as a number
    std::vector<double> floor;         // [p]: smallest nominal allowed (earlier branches), or -inf
};

// Called with the number of candidates of the enumeration that are covered
// (evaluated or ruled out) so far in this branch.
using CoverageFn = void (*)(void* context, double covered);

// The accepted candidate, or nothing when no candidate is accepted.
std::optional<std::vector<int>> choose_branch_diameters(const BranchProblem& problem,
                                                        CoverageFn coverage = nullptr, void* context = nullptr);

// Number of non-increasing sequences of length n over k values: C(n + k - 1, k - 1),
// computed as (n+1)(n+2)...(n+k-1) / (k-1)! in floating point.
double combinaciones(int n, int k);

// The number a cell holds after x is written in general format (15 significant
// digits) and read back; the same value as numtext::roundtrip_general, faster.
double roundtrip_general_fast(double x);

// Rounding to 1 and 2 decimals: scale by 10^k, nearest integer with ties to
// even, scale back.
double round1(double x);
double round2(double x);

}  // namespace velmora::kelvaro
