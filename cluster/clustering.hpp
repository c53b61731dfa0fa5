// One clustering of prepared rows in one call: the starts, k-svd, the bisection and the scores.
// Writes no file and leaves no process-wide state changed; the program, the restarts, the
// consensus runs and the Python package all run a clustering through cluster_rows.
//
// Process-wide state it reads but never sets: the thread count (lib/parallel.hpp) and the lane
// width of the products (algorithms/lanes.hpp). Both are machine settings that change how fast,
// never what, a clustering computes, so one setting serves every clustering in the process.
// Warnings diverted while starts run side by side are diverted per thread and restored.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

#include "cluster/cluster_summary.hpp"
#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/names.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

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

struct tClusteringResult;

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

struct tClusteringResult {
  std::uint64_t seed = 0;                // the seed the starts derive from
  array<int> initial_assignment;         // of the kept start
  array<tTaxaSet> clusters;              // the k clusters
  array<vector> means;                   // the k unit directions, one per cluster
  array<tTaxaSet> halves;                // the 2k groups: cluster i into 2i and 2i+1
  array<vector> half_means;              // the unit mean of every group (zero when empty)
  std::vector<int> labels;               // the cluster of every row
  std::vector<int> groups;               // the group of every row (empty when not bisected)
  double objective = 0;                  // of the kept start
  std::vector<double> pass_objectives;   // the kept start's objective after every k-svd pass
  std::vector<double> start_objectives;  // every start's final objective, in start order
  int winner = 0;                        // index of the kept start
  tQualityScores scores{};               // S_ave, S_max, H_ave, H_min of the k clusters
};

// Clusters the rows of data (rows x d, prepared: missing values filled, any -center/-zscore done).
// Fatal faults (initial labels that do not fit the rows or k, k below 1, t1 below 1, restarts
// below 1) leave through the fatal-exit hook of lib/diagnostics.hpp, which a library caller may
// set to throw: nothing is then left allocated, locked or diverted. Runs on thread_count()
// threads; the result is the same bits for every thread count and lane width.
tClusteringResult cluster_rows(const matrix& data, const tClusteringSettings& settings,
                               tClusteringObserver& observer);
