// What a clustering is asked to do and what watches it run: the settings and the observer of
// cluster_rows (cluster/clustering.hpp), apart so that the phases it calls can take them.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "lib/array.hpp"
#include "lib/names.hpp"

struct tClusteringResult;

struct tClusteringSettings {
  int num_clusters = 5;
  int t1 = 20;             // steps of the principal direction iteration
  double t2 = 0.001;       // stopping tolerance of both clustering loops
  bool normalize = false;  // rows scaled to unit length first (on a copy: the input stays)
  int restarts = 1;        // random starts; the largest objective wins, the earlier on ties
  std::uint64_t seed = 0;  // start s is seeded by start_seed(seed, s)
  std::vector<int> initial_assignment;  // non-empty: the one start, from these labels
  bool bisect = true;                   // false: the k clusters only (no halves)
  bool score = true;                    // false: scores left at zero (they cost a pass or two)
};

// What a run's progress and reports see while the clustering runs. Every member has a default
// that writes nothing, so a library caller passes tClusteringObserver{}.
class tClusteringObserver {
 public:
  virtual ~tClusteringObserver() = default;
  // The progress lines the program writes to standard output at this verbosity (nullptr: none).
  virtual std::ostream* progress() { return nullptr; }
  virtual int verbosity() const { return 0; }
  // The names the bisection report uses (nullptr: row numbers).
  virtual const tNames* names() const { return nullptr; }
  // The lines the program writes to standard error at verbosity 1 and above: one "# start"
  // line per start when there are several (nullptr: none).
  virtual std::ostream* notes() { return nullptr; }
  // Called once with the initial assignment of the start that is kept.
  virtual void kept_start(const array<int>& /*initial_assignment*/) {}
  // Called once the k clusters are final, before the bisection: every member but halves and
  // groups is set.
  virtual void clustered(const tClusteringResult& /*so_far*/) {}
};
