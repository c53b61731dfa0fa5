// The design of a consensus run: its k range, resample count and fractions, and the seed of run r.
#pragma once

#include <cstdint>
#include <string>

struct tConsensusDesign {
  int runs = 0;                  // B: resamples of the whole design
  int k_first = 2;               // K1
  int k_last = 2;                // K2 (>= K1)
  double row_fraction = 0.8;     // f in (0, 1]: round(f * n) rows per run
  double column_fraction = 1.0;  // g in (0, 1]: round(g * d) columns per run
  std::uint64_t seed = 0;        // the run seed; run r draws from run_draw_seed(seed, r)
  bool normalize = false;        // each resample's rows scaled to unit length
  int t1 = 20;
  double t2 = 0.001;
  int first_run = 0;  // this process computes runs first_run <= r < end_run
  int end_run = 0;

  int k_count() const { return k_last - k_first + 1; }
};

// The seed of run r: a function of the run seed and r alone, so a shard computes run r exactly
// as a single process does.
std::uint64_t run_draw_seed(std::uint64_t seed, int run);

// round(fraction * count), halves away from zero.
int drawn_count(double fraction, int count);

// Why the design cannot run on rows x columns ("" when it can): the k range, the run range,
// the fractions, and enough drawn rows for the largest k.
std::string design_fault(const tConsensusDesign& design, int rows, int columns);
