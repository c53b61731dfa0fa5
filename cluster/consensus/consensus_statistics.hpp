// What the pair counts say about each k: the consensus CDF, its area and change, PAC, the
// consensus classes and how firmly rows and classes hold together.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "cluster/consensus/pair_counts.hpp"

constexpr int cdf_bins = 100;

// The bin 1 .. 100 of M = together / drawn: (b - 1) / 100 < M <= b / 100, exactly as fractions;
// M = 0 (and drawn = 0, which counts as M = 0) in bin 1.
int cdf_bin(std::uint32_t together, std::uint32_t drawn);

// Whether together / drawn > u, exactly (drawn = 0 counts as M = 0). REQUIRES: 0 <= u <= 1.
bool consensus_above(std::uint32_t together, std::uint32_t drawn, double u);

// The sum over b = 1 .. 100, in that order, of (pairs in bins 1 .. b) / (all pairs) / 100.
double cdf_area(const std::array<long long, cdf_bins>& bins);

struct tConsensusOfK {
  int k = 0;
  std::array<long long, cdf_bins> bins{};  // pairs per CDF bin
  double area = 0;
  double delta = 0;                       // set by fill_deltas
  double pac = 0;                         // fraction of pairs with u1 < M <= u2
  std::vector<int> classes;               // 1 .. k per row
  std::vector<double> cluster_consensus;  // per class: mean M of its pairs; NaN for one row
  std::vector<double> item_consensus;     // rows x k: mean M of row i with the other members
                                          // of class c; NaN when class c has no other member
  double mean_consensus = 0;              // mean of the cluster consensus of the classes with pairs
  double least_consensus = 0;             // least of them; both NaN when no class has two rows
};

// Everything about the k of index k_index. Pair loops run over the run's threads; every sum
// runs in a fixed order (pairs row-major, rows ascending), so the bits do not depend on them.
tConsensusOfK consensus_of_k(const tPairCounts& counts, int k_index, int k, double pac_low,
                             double pac_high);

// delta = area for the first k, else (area(k) - area(k - 1)) / area(k - 1).
void fill_deltas(std::vector<tConsensusOfK>& results);

// The index of the least PAC (the first on ties).
int best_k_index(const std::vector<tConsensusOfK>& results);
